! Writes one record of every family through module gmd, reads the file back
! and compares every value bit for bit. Exits with an error on any mismatch.
program fortran_roundtrip
  use gmd
  use fortran_checks
  implicit none
  character(*), parameter :: path = 'fortran_roundtrip.gmd'
  real(c_float), parameter :: segment(6) = [0., 0., 0., 1., 0., 0.]
  real(c_float), parameter :: triangle(9) = [0., 0., 0., 1., 0., 0., 0., 1., 0.]
  real(c_float), parameter :: quad(12) = [0., 0., 1., 1., 0., 1., 1., 1., 1., 0., 1., 1.]
  real(c_float), parameter :: orientation(3) = [0., 0., 1.], thickness(2) = [0.5, 0.25]
  real(c_float), parameter :: wedge(12) = [0., 0., 0., 0., 0., 1., 1., 0., 0., 0., 1., 0.]
  real(c_float), parameter :: position(3) = [2., 3., 4.]
  real(c_float), parameter :: sphere(4) = [1., 2., 3., 4.], scatterer(5) = [1., 2., 3., 4., 5.]
  real(c_float), parameter :: disk(7) = [0., 0., 0., 0., 0., 5., 2.], cylinder(7) = [0., 0., 0., 0., 0., 2., 1.]
  real(c_float), parameter :: elliptical(13) = [1., 1., 1., 1., 1., 4., 1., 0., 0., 2., 1., 0., 0.]
  real(c_float), parameter :: cone(15) = [0., 0., 0., 0., 0., 2., 1., 0., 0., 2., 1., 1., 0.5, 0., 0.]
  real(c_float), parameter :: junction(9) = [0., 0., 0., 1., 0., 0., 0., 0., 1.]
  integer(c_int32_t), parameter :: groups(3) = [4, 9, 2], adjacent(2) = [7, 8], hinge_groups(2) = [5, 6]
  real(c_float) :: hinge_points(10, 2), values(20), back(15)
  integer(c_int32_t) :: ints(3), n, first, second
  real(c_float) :: value
  character(:), allocatable :: text
  type(gmd_nurbs) :: surface, surface_back
  type(c_ptr) :: h
  integer :: k

  hinge_points = reshape([(real(k, c_float), k = 0, 19)], [10, 2])
  surface%u_knots = [0., 0., 1., 1.]
  surface%v_knots = [0., 0., 1., 1.]
  surface%control_points = reshape([0., 0., 0., 1., 0., 0., 0., 1., 0., 1., 1., 0.1], [3, 2, 2])
  surface%weights = reshape([1., 1., 1., 2.], [2, 2])
  surface%boundary_dimensions = [3, 1]
  surface%boundary_points = reshape([0., 0., 1., 0., 1., 1., 0.5, 0.5], [2, 4])
  surface%hole_origin = -1

  h = gmd_open_write_file(path)
  call expect(c_associated(h), 'open for writing')
  call ok(GMD_SetGroup(h, -5_c_int32_t), 'group')
  call ok(GMD_SetTolerance(h, 0.001_c_float), 'tolerance')
  call commit()
  call ok(GMD_SetSegment(h, segment), 'segment')
  call ok(GMD_SetSegmentVolume(h, 3_c_int32_t), 'segment volume')
  call ok(GMD_SetSegmentRadius(h, 0.5_c_float), 'segment radius')
  call commit()
  call ok(GMD_SetQuad(h, quad), 'quad')
  call ok(GMD_SetPolygonVolumes(h, 1_c_int32_t, 2_c_int32_t), 'polygon volumes')
  call commit()
  call ok(GMD_SetTriangle(h, triangle), 'triangle')
  call ok(GMD_SetPolygonThickness(h, 2_c_int32_t, thickness), 'thickness')
  call ok(GMD_SetPolygonFSSorientation(h, orientation), 'orientation')
  call commit()
  call ok(GMD_SetWedge(h, wedge), 'wedge')
  call ok(GMD_SetWedgeRightAdjacentPolygon(h, 12_c_int32_t), 'wedge polygon')
  call commit()
  call ok(GMD_SetMacroGroupGroups(h, 3_c_int32_t, groups), 'macro groups')
  call ok(gmd_set_macro_group_name(h, 'wing'), 'macro group name')
  call commit()
  call ok(GMD_SetScattVertexAdjacent(h, 2_c_int32_t, adjacent), 'adjacency')
  call ok(GMD_SetScattVertexPosition(h, position), 'position')
  call commit()
  call ok(GMD_SetSphere(h, sphere), 'sphere')
  call commit()
  call ok(GMD_SetScatter(h, scatterer), 'scatterer')
  call commit()
  call ok(GMD_SetDisk(h, disk), 'disk')
  call commit()
  call ok(GMD_SetCircularCylinder(h, cylinder), 'cylinder')
  call commit()
  call ok(GMD_SetEllipticalCylinder(h, elliptical), 'elliptical cylinder')
  call commit()
  call ok(GMD_SetCone(h, cone), 'cone')
  call commit()
  call ok(gmd_set_nurbs(h, surface), 'surface')
  call commit()
  call ok(GMD_SetJunction(h, junction), 'junction')
  call commit()
  call ok(gmd_set_hinge_name(h, 'AB'), 'hinge name')
  call ok(gmd_set_hinge_type(h, 'flap'), 'hinge type')
  call ok(GMD_SetHingePointsData(h, 2_c_int32_t, hinge_points), 'hinge points')
  call ok(GMD_SetHingeGroups(h, 2_c_int32_t, hinge_groups), 'hinge groups')
  call commit()
  call ok(gmd_set_group_material_name(h, 'Copper1'), 'group material')
  call commit()
  call ok(gmd_set_volume_material_name(h, 'Steel'), 'volume material')
  call commit()
  call ok(gmd_set_junction_group_name(h, 'J1'), 'junction group')
  call commit()
  call expect(gmd_set_hinge_type(h, 'x') == 0, 'hinge type refused on the empty record')
  call ok(GMD_CloseFile(h), 'close')

  h = gmd_open_read_file(path)
  call expect(c_associated(h), 'open for reading')
  call next(ichar('G', c_int32_t))
  call ok(GMD_GetTolerance(h, value), 'get tolerance')
  call same([value], [0.001], 'tolerance')
  call ok(GMD_GetGroup(h, n), 'get group')
  call expect(n == -5, 'group -5')
  call next(ichar('l', c_int32_t))
  call ok(GMD_GetSegment(h, back), 'get segment')
  call same(back(1:6), segment, 'segment')
  call ok(GMD_GetSegmentRadius(h, value), 'get radius')
  call same([value], [0.5], 'radius')
  call ok(GMD_GetSegmentVolume(h, n), 'get volume')
  call expect(n == 3, 'volume')
  call next(GMD_RECORD_VOLUME_QUAD)
  call ok(GMD_GetQuad(h, back), 'get quad')
  call same(back(1:12), quad, 'quad')
  call ok(GMD_GetPolygonVolumes(h, first, second), 'get volumes')
  call expect(first == 1 .and. second == 2, 'volumes')
  call next(GMD_RECORD_ATTRIBUTED_TRIANGLE)
  call ok(GMD_GetTriangle(h, back), 'get triangle')
  call same(back(1:9), triangle, 'triangle')
  call ok(GMD_GetPolygonFSSorientation(h, back), 'get orientation')
  call same(back(1:3), orientation, 'orientation')
  call ok(GMD_GetPolygonNumThickness(h, n), 'get thickness count')
  call expect(n == 2, 'thickness count')
  call ok(GMD_GetPolygonThickness(h, back), 'get thickness')
  call same(back(1:2), thickness, 'thickness')
  call next(ichar('w', c_int32_t))
  call ok(GMD_GetWedge(h, back), 'get wedge')
  call same(back(1:12), wedge, 'wedge')
  call ok(GMD_GetEWLeftAdjacentPolygon(h, first), 'get left polygon')
  call ok(GMD_GetEWRightAdjacentPolygon(h, second), 'get right polygon')
  call expect(first == 0 .and. second == 12, 'wedge polygons')
  call next(ichar('U', c_int32_t))
  call ok(GMD_GetMacroGroupNumGroups(h, n), 'get group count')
  call expect(n == 3, 'group count')
  call ok(GMD_GetMacroGroupGroups(h, ints), 'get groups')
  call expect(all(ints == groups), 'groups')
  call ok(gmd_get_macro_group_name(h, text), 'get macro group name')
  call expect(text == 'wing' .and. len(text) == 4, 'macro group name')
  call next(ichar('v', c_int32_t))
  call ok(GMD_GetScattVertexPosition(h, back), 'get position')
  call same(back(1:3), position, 'position')
  call ok(GMD_GetScattVertexNumAdjacent(h, n), 'get adjacency count')
  call ok(GMD_GetScattVertexAdjacent(h, ints), 'get adjacency')
  call expect(n == 2 .and. all(ints(1:2) == adjacent), 'adjacency')
  call next(ichar('S', c_int32_t))
  call ok(GMD_GetSphere(h, back), 'get sphere')
  call same(back(1:4), sphere, 'sphere')
  call next(ichar('R', c_int32_t))
  call ok(GMD_GetScatter(h, back), 'get scatterer')
  call same(back(1:5), scatterer, 'scatterer')
  call next(ichar('D', c_int32_t))
  call ok(GMD_GetDisk(h, back), 'get disk')
  call same(back(1:7), disk, 'disk')
  call next(ichar('C', c_int32_t))
  call ok(GMD_GetCircularCylinder(h, back), 'get cylinder')
  call same(back(1:7), cylinder, 'cylinder')
  call ok(GMD_GetCylinderHeight(h, value), 'get cylinder height')
  call same([value], [2.], 'cylinder height')
  call next(ichar('E', c_int32_t))
  call ok(GMD_GetEllipticalCylinder(h, back), 'get elliptical cylinder')
  call same(back(1:13), elliptical, 'elliptical cylinder')
  call ok(GMD_GetEllipticalCylinderYdirection(h, back), 'get Y direction')
  call same(back(1:3), [0., 1., 0.], 'elliptical Y direction')
  call next(ichar('F', c_int32_t))
  call ok(GMD_GetCone(h, back), 'get cone')
  call same(back(1:15), cone, 'cone')
  call next(ichar('N', c_int32_t))
  call ok(gmd_get_nurbs(h, surface_back), 'get surface')
  call same(surface_back%u_knots, surface%u_knots, 'U knots')
  call same(surface_back%v_knots, surface%v_knots, 'V knots')
  call same(reshape(surface_back%control_points, [12]), reshape(surface%control_points, [12]), 'control points')
  call same(reshape(surface_back%weights, [4]), reshape(surface%weights, [4]), 'weights')
  call expect(all(surface_back%boundary_dimensions == surface%boundary_dimensions), 'boundary dimensions')
  call same(reshape(surface_back%boundary_points, [8]), reshape(surface%boundary_points, [8]), 'boundary')
  call expect(surface_back%hole_origin == -1, 'hole origin')
  call ok(GMD_GetNurbsControlPoint(h, 1_c_int32_t, 1_c_int32_t, back), 'get control point (1, 1)')
  call same(back(1:3), surface%control_points(:, 2, 2), 'control point (1, 1) is (:, 2, 2)')
  call next(ichar('O', c_int32_t))
  call ok(GMD_GetJunction(h, back), 'get junction')
  call same(back(1:9), junction, 'junction')
  call next(ichar('H', c_int32_t))
  call ok(gmd_get_hinge_name(h, text), 'get hinge name')
  call expect(text == 'AB' .and. len(text) == 2, 'hinge name')
  call ok(gmd_get_hinge_type(h, text), 'get hinge type')
  call expect(text == 'flap', 'hinge type')
  call ok(GMD_GetHingeNumPoints(h, n), 'get hinge value count')
  call expect(n == 20, 'hinge value count')
  call ok(GMD_GetHingePointsData(h, values), 'get hinge points')
  call same(values, reshape(hinge_points, [20]), 'hinge points')
  call ok(GMD_GetHingeGroups(h, ints), 'get hinge groups')
  call expect(all(ints(1:2) == hinge_groups), 'hinge groups')
  call next(ichar('M', c_int32_t))
  call ok(gmd_get_material_name(h, text), 'get group material')
  call expect(text == 'Copper1', 'group material')
  call next(ichar('m', c_int32_t))
  call ok(gmd_get_material_name(h, text), 'get volume material')
  call expect(text == 'Steel', 'volume material')
  call next(ichar('Z', c_int32_t))
  call ok(gmd_get_junction_group_name(h, text), 'get junction group')
  call expect(text == 'J1', 'junction group')
  call expect(gmd_get_material_name(h, text) == 0 .and. len(text) == 0, 'material name refused on Z')
  call expect(GMD_GetRecord(h) == 0, 'end of file')
  call ok(GMD_CloseFile(h), 'close')

  deallocate (text)  ! main-program variables are not freed at the end
  call finish('fortran_roundtrip', 'every family read back as written')

contains

  subroutine commit()
    call ok(GMD_WriteRecord(h), 'write record')
  end subroutine commit

  subroutine next(code)
    integer(c_int32_t), intent(in) :: code
    character(12) :: label
    write (label, '(a,i0)') 'type ', code
    call ok(GMD_GetRecord(h), 'read record of ' // trim(label))
    call expect(GMD_GetRecordType(h) == code, trim(label))
  end subroutine next

end program fortran_roundtrip
