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
!! Whole files go through the client layer gmdkit (module gmdkit_c_api); these
!! return a GMDK_STATUS_* code, 0 (GMDK_STATUS_OK) for success, and say in a
!! gmd_report where and why a damaged file stops:
!!
!!   gmd_scan_file(path, report)
!!   gmd_read_mesh(path, mesh [, report, merge_points, keep_damaged])
!!   gmd_write_mesh(path, mesh [, append, report])
!!
!! File names lose the trailing blanks of a fixed-length variable.
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
  use gmdkit_c_api
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

  !> Why reading a file stopped. Offsets are bytes from the start of the file;
  !! record numbers are the file's, from 0, as the message gives them.
  type :: gmd_report
    integer :: stop = GMDK_STOP_END                !< GMDK_STOP_*
    integer :: os_error = 0                        !< errno of a failed open or read, else 0
    integer(c_int64_t) :: file_size = 0
    integer(c_int64_t) :: offset = 0               !< first unreadable frame; file_size at a clean end
    integer(c_int64_t) :: records = 0              !< good records before the stop
    integer(c_int64_t) :: last_good_record = -1    !< number of the last of them; -1 when none
    integer(c_int64_t) :: letters(0:255) = 0       !< good records by type letter, letters(iachar('P'))
    character(:), allocatable :: reason            !< the stop in words; '' at a clean end
    character(:), allocatable :: message           !< the status and the stop in one line, without the file name
  end type gmd_report

  !> One kind of cell of a mesh, cell k in column k. Point numbers count from
  !! 1 (corners(:, k) index the columns of gmd_mesh%points); record numbers
  !! are the file's, from 0, as in gmd_report.
  type :: gmd_cells
    integer(c_int64_t), allocatable :: corners(:, :)  !< (corners per cell, cells)
    integer(c_int32_t), allocatable :: group(:)       !< the group byte of the record
    integer(c_int32_t), allocatable :: volume(:, :)   !< (2, cells); 0 where there is none
    integer(c_int64_t), allocatable :: record(:)      !< the number of the cell's record
  end type gmd_cells

  !> A mesh as arrays: point k is points(:, k).
  type :: gmd_mesh
    real(c_float), allocatable :: points(:, :)        !< (3, points)
    type(gmd_cells) :: segments, triangles, quads
    real(c_float), allocatable :: segment_radius(:)   !< per segment; 0 where the record has none
  end type gmd_mesh

  !> A copy of a mesh's point numbers counted from 0, as gmdkit takes them.
  type :: zero_based
    integer(c_int64_t), allocatable :: corners(:, :)
  end type zero_based

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
  private :: zero_based, c_path, c_string, flag, take_report, size_cells, pass_cells

contains

  !> text followed by the NUL that C expects.
  pure function c_text(text) result(s)
    character(*), intent(in) :: text
    character(kind=c_char, len=len(text) + 1) :: s
    s = text // c_null_char
  end function c_text

  !> A file name as C expects it: without the blanks that pad a fixed-length
  !! variable, followed by NUL.
  pure function c_path(path) result(s)
    character(*), intent(in) :: path
    character(kind=c_char, len=len_trim(path) + 1) :: s
    s = path(1:len_trim(path)) // c_null_char
  end function c_path

  !> The text of a C character array up to its NUL (all of it without one).
  function c_string(chars) result(text)
    character(kind=c_char), intent(in) :: chars(:)
    character(:), allocatable :: text
    integer :: n
    n = findloc(chars, c_null_char, dim=1) - 1
    if (n < 0) n = size(chars)
    allocate (character(n) :: text)
    text = transfer(chars(1:n), text)
  end function c_string

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
    integer :: room
    room = gmd_name_capacity
    if (present(capacity)) room = capacity
    allocate (buffer(room + 1))
    buffer = c_null_char
    get_text = getter(handle, buffer)
    text = ''
    if (get_text == 1) text = trim(c_string(buffer(1:room)))
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

  ! ----- Whole files through gmdkit -----------------------------------------

  logical function flag(option)
    logical, intent(in), optional :: option
    flag = .false.
    if (present(option)) flag = option
  end function flag

  subroutine take_report(status, c, report)
    integer(c_int), intent(in) :: status
    type(gmdk_report_c), intent(in) :: c
    type(gmd_report), intent(out) :: report
    character(kind=c_char), allocatable :: line(:)
    integer(c_size_t) :: wanted
    report%stop = c%stop
    report%os_error = c%os_error
    report%file_size = c%file_size
    report%offset = c%stop_offset
    report%records = c%frames
    report%last_good_record = c%last_good_record
    report%letters = c%letters
    report%reason = c_string(c%reason)
    allocate (line(256))
    wanted = gmdk_describe(status, c, line, size(line, kind=c_size_t))
    if (wanted >= size(line)) then
      deallocate (line)
      allocate (line(wanted + 1))
      wanted = gmdk_describe(status, c, line, size(line, kind=c_size_t))
    end if
    report%message = c_string(line)
  end subroutine take_report

  !> Scans the frames of a file and says whether it ends cleanly (GMDK_STATUS_OK)
  !! or where and why it stops: GMDK_STATUS_DAMAGED, GMDK_STATUS_NOT_GMD,
  !! GMDK_STATUS_OPEN_FAILED or GMDK_STATUS_READ_FAILED.
  integer function gmd_scan_file(path, report) result(status)
    character(*), intent(in) :: path
    type(gmd_report), intent(out) :: report
    type(gmdk_report_c) :: c
    status = gmdk_scan_file(c_path(path), c)
    call take_report(status, c, report)
  end function gmd_scan_file

  !> Allocates one kind of cell for `c%count` cells and points `c` at it;
  !! `failed` becomes non-zero when the memory is not there.
  subroutine size_cells(cells, c, corners, failed)
    type(gmd_cells), intent(inout), target :: cells
    type(gmdk_cells_c), intent(inout) :: c
    integer, intent(in) :: corners
    integer, intent(inout) :: failed
    c%corners = c_null_ptr
    c%group = c_null_ptr
    c%volume = c_null_ptr
    c%record = c_null_ptr
    if (failed /= 0) return
    allocate (cells%corners(corners, c%count), cells%group(c%count), cells%volume(2, c%count), &
              cells%record(c%count), stat=failed)
    if (failed == 0 .and. c%count > 0) then
      c%corners = c_loc(cells%corners)
      c%group = c_loc(cells%group)
      c%volume = c_loc(cells%volume)
      c%record = c_loc(cells%record)
    end if
  end subroutine size_cells

  !> Reads the points and the segments, triangles and quads of a file into
  !! `mesh` in two passes: one to count, one to fill. Records of other types
  !! are skipped. With merge_points, exactly equal points become one. A damaged
  !! or foreign file fails (GMDK_STATUS_DAMAGED, GMDK_STATUS_NOT_GMD) and leaves
  !! the mesh empty, unless keep_damaged, which keeps the cells before the
  !! damage and returns GMDK_STATUS_OK; the report says where reading stopped.
  integer function gmd_read_mesh(path, mesh, report, merge_points, keep_damaged) result(status)
    character(*), intent(in) :: path
    type(gmd_mesh), intent(out), target :: mesh
    type(gmd_report), intent(out), optional :: report
    logical, intent(in), optional :: merge_points, keep_damaged
    type(gmdk_report_c) :: c_report
    type(gmdk_mesh_c) :: c
    type(c_ptr) :: reader
    integer(c_int) :: options
    integer :: failed
    options = 0
    if (flag(merge_points)) options = ior(options, GMDK_MERGE_POINTS)
    if (flag(keep_damaged)) options = ior(options, GMDK_KEEP_DAMAGED)
    status = gmdk_mesh_open(c_path(path), options, reader, c, c_report)
    if (status == GMDK_STATUS_OK) then
      allocate (mesh%points(3, c%point_count), mesh%segment_radius(c%segments%count), stat=failed)
      call size_cells(mesh%segments, c%segments, 2, failed)
      call size_cells(mesh%triangles, c%triangles, 3, failed)
      call size_cells(mesh%quads, c%quads, 4, failed)
      if (failed /= 0) then
        status = GMDK_STATUS_NO_MEMORY
      else
        c%points = c_null_ptr
        c%segment_radius = c_null_ptr
        if (c%point_count > 0) c%points = c_loc(mesh%points)
        if (c%segments%count > 0) c%segment_radius = c_loc(mesh%segment_radius)
        status = gmdk_mesh_fill(reader, c)
      end if
      call gmdk_mesh_close(reader)
    end if
    if (status == GMDK_STATUS_OK) then
      mesh%segments%corners = mesh%segments%corners + 1
      mesh%triangles%corners = mesh%triangles%corners + 1
      mesh%quads%corners = mesh%quads%corners + 1
    else
      mesh = gmd_mesh()
    end if
    if (present(report)) call take_report(status, c_report, report)
  end function gmd_read_mesh

  !> Points `c` at one kind of cell of a mesh to be written, with the point
  !! numbers counted from 0 in `copy`. `fits` becomes false when an array
  !! given does not fit the number of cells, which the corners give.
  subroutine pass_cells(cells, corners, copy, c, fits)
    type(gmd_cells), intent(in), target :: cells
    integer, intent(in) :: corners
    type(zero_based), intent(out), target :: copy
    type(gmdk_cells_c), intent(out) :: c
    logical, intent(inout) :: fits
    logical :: given
    integer(c_int64_t) :: n
    n = 0
    if (allocated(cells%corners)) n = size(cells%corners, 2, kind=c_int64_t)
    c%count = n
    c%corners = c_null_ptr
    c%group = c_null_ptr
    c%volume = c_null_ptr
    c%record = c_null_ptr
    given = .true.
    if (allocated(cells%corners)) given = size(cells%corners, 1) == corners
    if (allocated(cells%group)) given = given .and. size(cells%group, kind=c_int64_t) == n
    if (allocated(cells%volume)) given = given .and. size(cells%volume, 1) == 2 &
                                         .and. size(cells%volume, 2, kind=c_int64_t) == n
    if (allocated(cells%record)) given = given .and. size(cells%record, kind=c_int64_t) == n
    fits = fits .and. given
    if (.not. given .or. n == 0) return
    copy%corners = cells%corners - 1
    c%corners = c_loc(copy%corners)
    if (allocated(cells%group)) c%group = c_loc(cells%group)
    if (allocated(cells%volume)) c%volume = c_loc(cells%volume)
    if (allocated(cells%record)) c%record = c_loc(cells%record)
  end subroutine pass_cells

  !> Writes a mesh as records: a segment as 'L' with its radius ('l' when it
  !! has a volume), a triangle or quad as 'P' ('p' when it has a volume), each
  !! with its group. Unallocated arrays are not written: no groups gives group
  !! 0, no volumes none. Cells are written segments, triangles, then quads,
  !! unless every kind given has its record numbers, then in their order. A
  !! mesh whose arrays disagree in size, index no point or hold a group outside
  !! -127..127 gives GMDK_STATUS_BAD_ARGUMENT and writes nothing.
  integer function gmd_write_mesh(path, mesh, append, report) result(status)
    character(*), intent(in) :: path
    type(gmd_mesh), intent(in), target :: mesh
    logical, intent(in), optional :: append
    type(gmd_report), intent(out), optional :: report
    type(gmdk_report_c) :: c_report
    type(gmdk_mesh_c) :: c
    type(zero_based), target :: segments, triangles, quads
    character(*), parameter :: mismatch = 'the arrays of the mesh disagree in size' // c_null_char
    logical :: fits
    c%points = c_null_ptr
    c%segment_radius = c_null_ptr
    fits = .true.
    call pass_cells(mesh%segments, 2, segments, c%segments, fits)
    call pass_cells(mesh%triangles, 3, triangles, c%triangles, fits)
    call pass_cells(mesh%quads, 4, quads, c%quads, fits)
    if (allocated(mesh%points)) then
      c%point_count = size(mesh%points, 2, kind=c_int64_t)
      fits = fits .and. size(mesh%points, 1) == 3
      if (c%point_count > 0) c%points = c_loc(mesh%points)
    end if
    if (allocated(mesh%segment_radius)) then
      fits = fits .and. size(mesh%segment_radius, kind=c_int64_t) == c%segments%count
      if (c%segments%count > 0) c%segment_radius = c_loc(mesh%segment_radius)
    end if
    if (fits) then
      status = gmdk_mesh_write(c_path(path), c, merge(1_c_int, 0_c_int, flag(append)), c_report)
    else
      status = GMDK_STATUS_BAD_ARGUMENT
      c_report%reason(1:len(mismatch)) = transfer(mismatch, c_report%reason, len(mismatch))
    end if
    if (present(report)) call take_report(status, c_report, report)
  end function gmd_write_mesh

end module gmd
