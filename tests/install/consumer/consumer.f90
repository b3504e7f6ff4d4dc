! Built against an installed prefix with gmd-fortran.pc: writes a triangle
! through libgmd, scans the file through gmdkit and reads it back as a mesh.
program consumer
  use gmd
  implicit none
  character(len=256) :: path
  type(gmd_report) :: report
  type(gmd_mesh) :: mesh
  type(c_ptr) :: file

  call get_command_argument(1, path)
  file = gmd_open_write_file(path)
  if (.not. c_associated(file)) error stop 'cannot create the file'
  if (GMD_SetTriangle(file, [0., 0., 0., 1., 0., 0., 0., 1., 0.]) /= 1) error stop 'triangle refused'
  if (GMD_WriteRecord(file) /= 1 .or. GMD_CloseFile(file) /= 1) error stop 'write failed'
  if (gmd_scan_file(path, report) /= GMDK_STATUS_OK) error stop 'the file does not scan clean'
  if (report%records /= 1) error stop 'one record expected'
  if (gmd_read_mesh(path, mesh) /= GMDK_STATUS_OK) error stop 'the mesh is not read'
  if (size(mesh%triangles%group) /= 1 .or. size(mesh%points, 2) /= 3) error stop 'one triangle expected'
end program consumer
