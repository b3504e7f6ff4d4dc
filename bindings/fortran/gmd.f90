!> Fortran binding of libgmd.
!!
!! Every C export is available under its C name with the interface from
!! module gmd_c_api (generated from gmd.h). Where C strings or the NURBS
!! structure cross the interface this module adds wrappers that take and give
!! Fortran types:
!!
!!   gmd_open_read_file / gmd_open_write_file / gmd_open_append_file (path)
!!   gmd_set_<...>_name / gmd_set_hinge_type (handle, text)           -> status
!!   gmd_get_<...>_name / gmd_get_hinge_type (handle, text [, capacity])
!!   gmd_set_nurbs(handle, surface) / gmd_get_nurbs(handle, surface)
!!
!! The text wrappers are generated from gmd.h (gmd_text.inc), one per export
!! whose only argument besides the handle is a string.
!!
!! Names come back without the spaces the file pads them with. A name getter
!! cannot learn the stored length from the library beforehand, so it reads
!! into a buffer of `capacity` bytes (gmd_name_capacity when absent); a
!! record whose name is longer than that overruns the buffer. Pass a
!! capacity of at least the file's size for files you did not write.
module gmd
  use, intrinsic :: iso_c_binding
  use gmd_c_api
  implicit none

  !> Default room, in bytes, for a name read by the gmd_get_* name wrappers.
  integer, parameter :: gmd_name_capacity = 65536

  !> One NURBS surface with Fortran arrays. With nu control points along U and
  !! nv along V, control point (i, j) of the grid (i along U, j along V, from 1)
  !! is control_points(:, j, i) and its weight weights(j, i): the memory order of
  !! the library's row-major grid. Boundary point k is boundary_points(:, k).
  type :: gmd_nurbs
    real(c_float), allocatable :: u_knots(:)
    real(c_float), allocatable :: v_knots(:)
    real(c_float), allocatable :: control_points(:, :, :)
    real(c_float), allocatable :: weights(:, :)
    integer(c_int32_t), allocatable :: boundary_dimensions(:)
    real(c_float), allocatable :: boundary_points(:, :)
    integer(c_int32_t) :: hole_origin = 0
  end type gmd_nurbs

  abstract interface
    function text_setter(handle, text) bind(C) result(status)
      import :: c_ptr, c_char, c_int32_t
      type(c_ptr), value :: handle
      character(kind=c_char), intent(in) :: text(*)
      integer(c_int32_t) :: status
    end function text_setter
    function text_getter(handle, text) bind(C) result(status)
      import :: c_ptr, c_char, c_int32_t
      type(c_ptr), value :: handle
      character(kind=c_char), intent(out) :: text(*)
      integer(c_int32_t) :: status
    end function text_getter
  end interface

  private :: text_setter, text_getter, set_text, get_text, c_text, nurbs_data

contains

  !> text followed by the NUL that C expects.
  pure function c_text(text) result(s)
    character(*), intent(in) :: text
    character(kind=c_char, len=len(text) + 1) :: s
    s = text // c_null_char
  end function c_text

  integer(c_int32_t) function set_text(setter, handle, text)
    procedure(text_setter) :: setter
    type(c_ptr), intent(in) :: handle
    character(*), intent(in) :: text
    set_text = setter(handle, c_text(text))
  end function set_text

  integer(c_int32_t) function get_text(getter, handle, text, capacity)
    procedure(text_getter) :: getter
    type(c_ptr), intent(in) :: handle
    character(:), allocatable, intent(out) :: text
    integer, intent(in), optional :: capacity
    character(kind=c_char), allocatable :: buffer(:)
    integer :: room, n
    room = gmd_name_capacity
    if (present(capacity)) room = capacity
    allocate (buffer(room + 1))
    buffer = c_null_char
    get_text = getter(handle, buffer)
    n = 0
    if (get_text == 1) then
      do while (n < room)
        if (buffer(n + 1) == c_null_char) exit
        n = n + 1
      end do
    end if
    allocate (character(n) :: text)
    text = transfer(buffer(1:n), text)
    text = trim(text)
  end function get_text

  include 'gmd_text.inc'

  !> Begins an 'N' record on the empty record with the whole surface.
  integer(c_int32_t) function gmd_set_nurbs(handle, surface)
    type(c_ptr), intent(in) :: handle
    type(gmd_nurbs), intent(in), target :: surface
    integer(c_int32_t), target :: spare(1)
    integer(c_int32_t) :: sizes(7)
    sizes = [int(size(surface%u_knots), c_int32_t), int(size(surface%v_knots), c_int32_t), &
             int(size(surface%control_points, 3), c_int32_t), int(size(surface%control_points, 2), c_int32_t), &
             int(size(surface%boundary_dimensions), c_int32_t), int(size(surface%boundary_points, 2), c_int32_t), &
             surface%hole_origin]
    gmd_set_nurbs = 0
    if (size(surface%control_points, 1) /= 3 .or. size(surface%boundary_points, 1) /= 2) return
    if (any(shape(surface%weights) /= shape(surface%control_points(1, :, :)))) return
    gmd_set_nurbs = GMD_SetNurbsSizes(handle, sizes)
    if (gmd_set_nurbs /= 1) return
    gmd_set_nurbs = GMD_SetNurbsData(handle, nurbs_data(surface, sizes, c_loc(spare)))
  end function gmd_set_nurbs

  !> Copies the surface of the 'N' record in hand into freshly allocated arrays.
  integer(c_int32_t) function gmd_get_nurbs(handle, surface)
    type(c_ptr), intent(in) :: handle
    type(gmd_nurbs), intent(out), target :: surface
    integer(c_int32_t), target :: spare(1)
    integer(c_int32_t) :: sizes(7)
    gmd_get_nurbs = GMD_GetNurbsSizes(handle, sizes)
    if (gmd_get_nurbs /= 1) return
    if (any(sizes(1:6) < 0)) then
      gmd_get_nurbs = 0
      return
    end if
    allocate (surface%u_knots(sizes(1)), surface%v_knots(sizes(2)), &
              surface%control_points(3, sizes(4), sizes(3)), surface%weights(sizes(4), sizes(3)), &
              surface%boundary_dimensions(sizes(5)), surface%boundary_points(2, sizes(6)))
    surface%hole_origin = sizes(7)
    gmd_get_nurbs = GMD_GetNurbsData(handle, nurbs_data(surface, sizes, c_loc(spare)))
  end function gmd_get_nurbs

  function nurbs_data(surface, sizes, spare) result(data)
    type(gmd_nurbs), intent(in), target :: surface
    integer(c_int32_t), intent(in) :: sizes(7)
    type(c_ptr), intent(in) :: spare
    type(gmd_nurbs_data_c) :: data
    integer :: grid
    grid = sizes(3) * sizes(4)
    data%u_knots = spare
    data%v_knots = spare
    data%control_points = spare
    data%weights = spare
    data%boundary_dimensions = spare
    data%boundary_points = spare
    if (sizes(1) > 0) data%u_knots = c_loc(surface%u_knots)
    if (sizes(2) > 0) data%v_knots = c_loc(surface%v_knots)
    if (grid > 0) data%control_points = c_loc(surface%control_points)
    if (grid > 0) data%weights = c_loc(surface%weights)
    if (sizes(5) > 0) data%boundary_dimensions = c_loc(surface%boundary_dimensions)
    if (sizes(6) > 0) data%boundary_points = c_loc(surface%boundary_points)
  end function nurbs_data

end module gmd
