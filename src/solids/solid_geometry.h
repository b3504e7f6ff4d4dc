// Derived geometry of the last elliptical cylinder and cone a handle read.
// Both blocks are filled only when GetRecord accepts an 'E' or 'F' frame and
// outlive the record they came from; each is independent of the other.
#pragma once

namespace gmd {

struct EllipticalCylinderGeometry {
    float center[3] = {};
    float lowerCenter[3] = {};
    float upperCenter[3] = {};
    float height = 0.0f;
    float xDirection[3] = {};
    float yDirection[3] = {};
    float zDirection[3] = {};
    float xSemiAxis = 0.0f;
    float ySemiAxis = 0.0f;
    float lowerTiltAngle = 0.0f;
    float upperTiltAngle = 0.0f;
};

struct ConeGeometry {
    float lowerCenter[3] = {};
    float upperCenter[3] = {};
    float height = 0.0f;
    float xDirection[3] = {};
    float yDirection[3] = {};
    float zDirection[3] = {};
    float lowerXsemiAxis = 0.0f;
    float lowerYsemiAxis = 0.0f;
    float upperXsemiAxis = 0.0f;
    float upperYsemiAxis = 0.0f;
    float lowerTiltAngle = 0.0f;
    float upperTiltAngle = 0.0f;
};

}  // namespace gmd
