! Writes the records whose Fortran interface is more than a plain C binding
! (text, the NURBS derived type, arrays of ten-value points) through module
! gmd, reads them back and compares every value bit for bit. The C++ and
! Python tests cover the other families; exits with an error on any mismatch.
program fortran_roundtrip
  use gmd
  use fortran_checks
  implicit none
  character(*), parameter :: path = 'fortran_roundtrip.gmd'
  integer(c_int32_t), parameter :: groups(3) = [4, 9, 2], hinge_groups(2) = [5, 6]
  real(c_float) :: hinge_points(10, 2), values(20), back(3)
  integer(c_int32_t) :: ints(3), n
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
  call ok(GMD_SetMacroGroupGroups(h, 3_c_int32_t, groups), 'macro groups')
  call ok(gmd_set_macro_group_name(h, 'wing'), 'macro group name')
  call ok(GMD_WriteRecord(h), 'write macro group')
  call ok(gmd_set_nurbs(h, surface), 'surface')
  call ok(GMD_WriteRecord(h), 'write surface')
  call ok(gmd_set_hinge_name(h, 'AB'), 'hinge name')
  call ok(gmd_set_hinge_type(h, 'flap'), 'hinge type')
  call ok(GMD_SetHingePointsData(h, 2_c_int32_t, hinge_points), 'hinge points')
  call ok(GMD_SetHingeGroups(h, 2_c_int32_t, hinge_groups), 'hinge groups')
  call ok(GMD_WriteRecord(h), 'write hinge')
  call ok(gmd_set_junction_group_name(h, 'J1'), 'junction group')
  call ok(GMD_WriteRecord(h), 'write junction group')
  call expect(gmd_set_hinge_type(h, 'x') == 0, 'hinge type refused on the empty record')
  call ok(GMD_CloseFile(h), 'close')

  h = gmd_open_read_file(path)
  call expect(c_associated(h), 'open for reading')
  call ok(GMD_GetRecord(h), 'read macro group')
  call ok(GMD_GetMacroGroupGroups(h, ints), 'get groups')
  call expect(all(ints == groups), 'groups')
  call ok(gmd_get_macro_group_name(h, text), 'get macro group name')
  call expect(text == 'wing' .and. len(text) == 4, 'macro group name')
  call ok(GMD_GetRecord(h), 'read surface')
  call ok(gmd_get_nurbs(h, surface_back), 'get surface')
  call same(surface_back%u_knots, surface%u_knots, 'U knots')
  call same(reshape(surface_back%control_points, [12]), reshape(surface%control_points, [12]), 'control points')
  call same(reshape(surface_back%weights, [4]), reshape(surface%weights, [4]), 'weights')
  call expect(all(surface_back%boundary_dimensions == surface%boundary_dimensions), 'boundary dimensions')
  call same(reshape(surface_back%boundary_points, [8]), reshape(surface%boundary_points, [8]), 'boundary')
  call expect(surface_back%hole_origin == -1, 'hole origin')
  call ok(GMD_GetNurbsControlPoint(h, 1_c_int32_t, 1_c_int32_t, back), 'get control point (1, 1)')
  call same(back, surface%control_points(:, 2, 2), 'control point (1, 1) is (:, 2, 2)')
  call ok(GMD_GetRecord(h), 'read hinge')
  call ok(gmd_get_hinge_name(h, text), 'get hinge name')
  call expect(text == 'AB' .and. len(text) == 2, 'hinge name')
  call ok(gmd_get_hinge_type(h, text), 'get hinge type')
  call expect(text == 'flap', 'hinge type')
  call ok(GMD_GetHingeNumPoints(h, n), 'get hinge value count')
  call expect(n == 20, 'hinge value count')
  call ok(GMD_GetHingePointsData(h, values), 'get hinge points')
  call same(values, reshape(hinge_points, [20]), 'hinge points')
  call ok(GMD_GetRecord(h), 'read junction group')
  call ok(gmd_get_junction_group_name(h, text), 'get junction group')
  call expect(text == 'J1', 'junction group')
  call expect(gmd_get_material_name(h, text) == 0 .and. len(text) == 0, 'material name refused on Z')
  call expect(GMD_GetRecord(h) == 0, 'end of file')
  call ok(GMD_CloseFile(h), 'close')

  deallocate (text)  ! main-program variables are not freed at the end
  call finish('fortran_roundtrip', 'text, surface and hinge read back as written')

end program fortran_roundtrip
