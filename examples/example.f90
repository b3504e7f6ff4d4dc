! Writes a triangle and a bilinear NURBS patch through the Fortran module gmd,
! reads them back and prints them.
program example
  use gmd
  implicit none
  character(*), parameter :: path = 'example_fortran.gmd'
  real(c_float) :: triangle(3, 3), back(3, 3)
  type(gmd_nurbs) :: patch, patch_back
  character(:), allocatable :: name
  type(c_ptr) :: file
  integer(c_int32_t) :: type
  integer :: records = 0

  triangle = reshape([0., 0., 0., 1., 0., 0., 0., 1., 0.], [3, 3])
  patch%u_knots = [0., 0., 1., 1.]
  patch%v_knots = [0., 0., 1., 1.]
  allocate (patch%control_points(3, 2, 2), patch%weights(2, 2))
  patch%control_points(:, 1, 1) = [0., 0., 0.]   ! (u 1, v 1)
  patch%control_points(:, 2, 1) = [0., 1., 0.]   ! (u 1, v 2)
  patch%control_points(:, 1, 2) = [1., 0., 0.]   ! (u 2, v 1)
  patch%control_points(:, 2, 2) = [1., 1., 0.5]  ! (u 2, v 2)
  patch%weights = 1
  allocate (patch%boundary_dimensions(0), patch%boundary_points(2, 0))

  file = gmd_open_write_file(path)
  if (.not. c_associated(file)) error stop 'cannot create the file'
  if (gmd_set_volume_material_name(file, 'Teflon') /= 1) error stop 'name refused'
  if (GMD_WriteRecord(file) /= 1) error stop 'write failed'
  if (GMD_SetTriangle(file, triangle) /= 1) error stop 'triangle refused'
  if (GMD_SetPolygonVolumes(file, 1_c_int32_t, 2_c_int32_t) /= 1) error stop 'volumes refused'
  if (GMD_WriteRecord(file) /= 1) error stop 'write failed'
  if (gmd_set_nurbs(file, patch) /= 1) error stop 'surface refused'
  if (GMD_WriteRecord(file) /= 1) error stop 'write failed'
  if (GMD_CloseFile(file) /= 1) error stop 'close failed'

  file = gmd_open_read_file(path)
  if (.not. c_associated(file)) error stop 'cannot read the file'
  do while (GMD_GetRecord(file) == 1)
    records = records + 1
    type = GMD_GetRecordType(file)
    select case (type)
    case (ichar('m'))
      if (gmd_get_material_name(file, name) == 1) print '(3a)', 'volume material "', name, '"'
    case (GMD_RECORD_VOLUME_TRIANGLE)
      if (GMD_GetTriangle(file, back) /= 1) error stop 'triangle not readable'
      print '(a, 9f5.1)', 'triangle', back
    case (ichar('N'))
      if (gmd_get_nurbs(file, patch_back) /= 1) error stop 'surface not readable'
      print '(a, i0, a, i0, a)', 'NURBS patch of ', size(patch_back%control_points, 3), ' x ', &
        size(patch_back%control_points, 2), ' control points'
      print '(a, 3f5.1)', 'corner (2, 2) at', patch_back%control_points(:, 2, 2)
    case default
      print '(a, i0)', 'record of type ', type
    end select
  end do
  if (GMD_CloseFile(file) /= 1) error stop 'close failed'
  if (allocated(name)) deallocate (name)  ! main-program variables are not freed at the end
  if (records /= 3) error stop 'expected three records'
end program example
