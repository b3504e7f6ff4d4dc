! Reads the surface mesh of a GMD file into arrays in one call and prints its
! size and the area of each group. Without an argument it first writes a
! small mesh, a square of two triangles and a quad beside it, to read.
!
!   read_mesh [file.gmd]
program read_mesh
  use gmd
  implicit none
  character(:), allocatable :: path
  type(gmd_mesh) :: mesh
  type(gmd_report) :: report
  real(c_float), allocatable :: area(:)
  integer :: length, k, status

  if (command_argument_count() > 0) then
    call get_command_argument(1, length=length)
    allocate (character(length) :: path)
    call get_command_argument(1, path)
  else
    path = 'read_mesh_example.gmd'
    call write_example(path)
  end if

  ! merge_points: corners with equal coordinates share one point.
  status = gmd_read_mesh(path, mesh, report, merge_points=.true.)
  if (status /= GMDK_STATUS_OK) then
    print '(3a)', path, ': ', report%message
    error stop 1
  end if
  print '(a, ": ", i0, " points, ", i0, " triangles, ", i0, " quads, ", i0, " segments")', path, &
    size(mesh%points, 2), size(mesh%triangles%group), size(mesh%quads%group), size(mesh%segments%group)

  ! Area per group byte (-127..127), a quad split along its first diagonal.
  allocate (area(-127:127))
  area = 0
  do k = 1, size(mesh%triangles%group)
    associate (c => mesh%triangles%corners(:, k))
      area(mesh%triangles%group(k)) = area(mesh%triangles%group(k)) + triangle_area(c(1), c(2), c(3))
    end associate
  end do
  do k = 1, size(mesh%quads%group)
    associate (c => mesh%quads%corners(:, k))
      area(mesh%quads%group(k)) = area(mesh%quads%group(k)) + triangle_area(c(1), c(2), c(3)) &
                                  + triangle_area(c(1), c(3), c(4))
    end associate
  end do
  do k = -127, 127
    if (area(k) > 0) print '(a, i0, a, f0.4)', 'group ', k, ': area ', area(k)
  end do

contains

  real(c_float) function triangle_area(a, b, c)
    integer(c_int64_t), intent(in) :: a, b, c
    real(c_float) :: u(3), v(3)
    u = mesh%points(:, b) - mesh%points(:, a)
    v = mesh%points(:, c) - mesh%points(:, a)
    triangle_area = norm2([u(2) * v(3) - u(3) * v(2), u(3) * v(1) - u(1) * v(3), u(1) * v(2) - u(2) * v(1)]) / 2
  end function triangle_area

  !> The unit square as two triangles in group 1, and a 1 x 2 quad in group 2
  !! between volumes 1 and 2.
  subroutine write_example(name)
    character(*), intent(in) :: name
    type(gmd_mesh) :: example
    allocate (example%points, source=reshape([0., 0., 0., 1., 0., 0., 1., 1., 0., 0., 1., 0., 2., 0., 0., &
                                              2., 1., 0.], [3, 6]))
    allocate (example%triangles%corners, source=reshape([1_c_int64_t, 2_c_int64_t, 3_c_int64_t, &
                                                         1_c_int64_t, 3_c_int64_t, 4_c_int64_t], [3, 2]))
    allocate (example%triangles%group, source=[1, 1])
    allocate (example%quads%corners, source=reshape([2_c_int64_t, 5_c_int64_t, 6_c_int64_t, 3_c_int64_t], [4, 1]))
    allocate (example%quads%group, source=[2])
    allocate (example%quads%volume, source=reshape([1, 2], [2, 1]))
    if (gmd_write_mesh(name, example, report=report) /= GMDK_STATUS_OK) then
      print '(3a)', name, ': ', report%message
      error stop 1
    end if
  end subroutine write_example

end program read_mesh
