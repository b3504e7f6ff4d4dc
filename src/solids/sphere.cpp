// Sphere 'S' (centre, radius) and scatterer 'R' (centre, radius, EM radius).
// Their first four words coincide, yet each family's accessors take only its
// own letter.
#include "solids_steps.h"

using namespace gmd;

namespace {

constexpr WordRange kCenter{0, 3};
constexpr WordRange kRadius{3, 1};
constexpr WordRange kEMRadius{4, 1};

}  // namespace

int32_t GMD_SetSphere(GMD_File* handle, const float sphere[4]) { return setSolid(handle, kSphere, sphere); }
int32_t GMD_SetSphereCenter(GMD_File* handle, const float center[3]) {
    return patchSolid(handle, kSphere, kCenter, center);
}
int32_t GMD_SetSphereRadius(GMD_File* handle, float radius) { return patchSolid(handle, kSphere, kRadius, &radius); }
int32_t GMD_GetSphere(GMD_File* handle, float sphere[4]) {
    return getSolid(handle, kSphere, allWords(kSphere), sphere);
}
int32_t GMD_GetSphereCenter(GMD_File* handle, float center[3]) { return getSolid(handle, kSphere, kCenter, center); }
int32_t GMD_GetSphereRadius(GMD_File* handle, float* radius) { return getSolid(handle, kSphere, kRadius, radius); }

int32_t GMD_SetScatter(GMD_File* handle, const float scatterer[5]) {
    return setSolid(handle, kScatterer, scatterer);
}
int32_t GMD_SetScatterCenter(GMD_File* handle, const float center[3]) {
    return patchSolid(handle, kScatterer, kCenter, center);
}
int32_t GMD_SetScatterRadius(GMD_File* handle, float radius) {
    return patchSolid(handle, kScatterer, kRadius, &radius);
}
int32_t GMD_SetScatterEMRadius(GMD_File* handle, float emRadius) {
    return patchSolid(handle, kScatterer, kEMRadius, &emRadius);
}
int32_t GMD_GetScatter(GMD_File* handle, float scatterer[5]) {
    return getSolid(handle, kScatterer, allWords(kScatterer), scatterer);
}
int32_t GMD_GetScatterCenter(GMD_File* handle, float center[3]) {
    return getSolid(handle, kScatterer, kCenter, center);
}
int32_t GMD_GetScatterRadius(GMD_File* handle, float* radius) {
    return getSolid(handle, kScatterer, kRadius, radius);
}
int32_t GMD_GetScatterEMRadius(GMD_File* handle, float* emRadius) {
    return getSolid(handle, kScatterer, kEMRadius, emRadius);
}
