! A Fortran client of an installed libgmd: writes a tolerance record to the
! file named on the command line and reads it back.
program consumer
  use gmd
  implicit none
  character(len=256) :: path
  type(c_ptr) :: file
  real(c_float) :: tolerance = 0
  call get_command_argument(1, path)
  file = gmd_open_write_file(path)
  if (.not. c_associated(file)) error stop 'consumer.f90: cannot create the file'
  if (GMD_SetTolerance(file, 0.5_c_float) /= 1 .or. GMD_WriteRecord(file) /= 1) error stop 'consumer.f90: write refused'
  if (GMD_CloseFile(file) /= 1) error stop 'consumer.f90: close failed'
  file = gmd_open_read_file(path)
  if (.not. c_associated(file)) error stop 'consumer.f90: cannot read the file'
  if (GMD_GetRecord(file) /= 1 .or. GMD_GetTolerance(file, tolerance) /= 1) error stop 'consumer.f90: no record'
  if (tolerance /= 0.5_c_float .or. GMD_CloseFile(file) /= 1) error stop 'consumer.f90: the tolerance did not come back'
end program consumer
