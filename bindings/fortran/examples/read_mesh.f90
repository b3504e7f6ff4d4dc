! Reads the surface mesh of a GMD file into arrays in one call and prints its
! size and the area of each group. Without an argument it first writes a
! small mesh to read: a unit square of two triangles and a unit quad beside it.
!
!   read_mesh [file.gmd]
program read_mesh
  use gmd
  use, intrinsic :: iso_fortran_env, only: error_unit
  implicit none

  if (command_argument_count() > 0) then
    call show(argument())
  else
    call write_example('read_mesh_example.gmd')
    call show('read_mesh_example.gmd')
  end if

contains

  subroutine show(path)
    character(*), intent(in) :: path
    type(gmd_mesh) :: mesh
    type(gmd_report) :: report
    real(c_float) :: area(-127:127)
    integer :: k

    ! merge_points: corners with equal coordinates share one point.
    if (gmd_read_mesh(path, mesh, report, merge_points=.true.) /= GMDK_STATUS_OK) then
      write (error_unit, '(3a)') path, ': ', report%message
      stop 1
    end if
    print '(a, ": ", i0, " points, ", i0, " triangles, ", i0, " quads, ", i0, " segments")', path, &
      size(mesh%points, 2), size(mesh%triangles%group), size(mesh%quads%group), size(mesh%segments%group)

    ! Area per group byte, a quad split along its first diagonal.
    area = 0
    do k = 1, size(mesh%triangles%group)
      associate (c => mesh%triangles%corners(:, k), g => mesh%triangles%group(k))
        area(g) = area(g) + triangle_area(mesh, c(1), c(2), c(3))
      end associate
    end do
    do k = 1, size(mesh%quads%group)
      associate (c => mesh%quads%corners(:, k), g => mesh%quads%group(k))
        area(g) = area(g) + triangle_area(mesh, c(1), c(2), c(3)) + triangle_area(mesh, c(1), c(3), c(4))
      end associate
    end do
    do k = -127, 127
      if (area(k) > 0) print '(a, i0, a, f0.4)', 'group ', k, ': area ', area(k)
    end do
  end subroutine show

  real(c_float) function triangle_area(mesh, a, b, c)
    type(gmd_mesh), intent(in) :: mesh
    integer(c_int64_t), intent(in) :: a, b, c
    real(c_float) :: u(3), v(3)
    u = mesh%points(:, b) - mesh%points(:, a)
    v = mesh%points(:, c) - mesh%points(:, a)
    triangle_area = norm2([u(2) * v(3) - u(3) * v(2), u(3) * v(1) - u(1) * v(3), u(1) * v(2) - u(2) * v(1)]) / 2
  end function triangle_area

  !> The unit square as two triangles in group 1, and a unit quad in group 2
  !! between volumes 1 and 2. Point k is column k; corners count from 1.
  subroutine write_example(path)
    character(*), intent(in) :: path
    type(gmd_mesh) :: example
    type(gmd_report) :: report
    allocate (example%points, source=reshape([0., 0., 0., 1., 0., 0., 1., 1., 0., 0., 1., 0., 2., 0., 0., &
                                              2., 1., 0.], [3, 6]))
    allocate (example%triangles%corners, source=reshape([1_c_int64_t, 2_c_int64_t, 3_c_int64_t, &
                                                         1_c_int64_t, 3_c_int64_t, 4_c_int64_t], [3, 2]))
    allocate (example%triangles%group, source=[1, 1])
    allocate (example%quads%corners, source=reshape([2_c_int64_t, 5_c_int64_t, 6_c_int64_t, 3_c_int64_t], [4, 1]))
    allocate (example%quads%group, source=[2])
    allocate (example%quads%volume, source=reshape([1, 2], [2, 1]))
    if (gmd_write_mesh(path, example, report=report) /= GMDK_STATUS_OK) then
      write (error_unit, '(3a)') path, ': ', report%message
      stop 1
    end if
  end subroutine write_example

  function argument() result(text)
    character(:), allocatable :: text
    integer :: length
    call get_command_argument(1, length=length)
    allocate (character(length) :: text)
    call get_command_argument(1, text)
  end function argument

end program read_mesh
