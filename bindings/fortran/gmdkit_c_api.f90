!> The C interface of gmdkit, the client layer above libgmd: its structures in
!! their C layout and its functions under their C names. Module gmd builds
!! gmd_scan_file, gmd_read_mesh and gmd_write_mesh on it; kit/include/gmdkit.h
!! is the contract of every call here. Unsigned 64-bit fields are read as
!! integer(c_int64_t) (the bits are the same).
module gmdkit_c_api
  use, intrinsic :: iso_c_binding, only: c_ptr, c_int, c_int64_t, c_int32_t, c_char, c_size_t
  implicit none
  private :: c_ptr, c_int, c_int64_t, c_int32_t, c_char, c_size_t

  include 'gmdkit_codes.inc'

  !> GMDK_Report: why reading a file stopped.
  type, bind(C) :: gmdk_report_c
    integer(c_int32_t) :: stop = 0
    integer(c_int32_t) :: os_error = 0
    integer(c_int64_t) :: file_size = 0
    integer(c_int64_t) :: stop_offset = 0
    integer(c_int64_t) :: frames = 0
    integer(c_int64_t) :: last_good_record = -1
    integer(c_int64_t) :: letters(0:255) = 0
    character(kind=c_char) :: reason(200) = char(0)
  end type gmdk_report_c

  !> GMDK_Cells: one kind of cell; a null pointer is an array not asked for.
  type, bind(C) :: gmdk_cells_c
    integer(c_int64_t) :: count = 0
    type(c_ptr) :: corners, group, volume, record
  end type gmdk_cells_c

  !> GMDK_Mesh: points and the three kinds of cells.
  type, bind(C) :: gmdk_mesh_c
    integer(c_int64_t) :: point_count = 0
    type(c_ptr) :: points
    type(gmdk_cells_c) :: segments
    type(c_ptr) :: segment_radius
    type(gmdk_cells_c) :: triangles
    type(gmdk_cells_c) :: quads
  end type gmdk_mesh_c

  interface
    function gmdk_scan_file(path, report) bind(C, name="gmdk_scan_file") result(status)
      import :: c_char, c_int, gmdk_report_c
      character(kind=c_char), intent(in) :: path(*)
      type(gmdk_report_c), intent(out) :: report
      integer(c_int) :: status
    end function gmdk_scan_file

    function gmdk_describe(status, report, text, size) bind(C, name="gmdk_describe") result(wanted)
      import :: c_int, c_char, c_size_t, gmdk_report_c
      integer(c_int), value :: status
      type(gmdk_report_c), intent(in) :: report
      character(kind=c_char), intent(out) :: text(*)
      integer(c_size_t), value :: size
      integer(c_size_t) :: wanted
    end function gmdk_describe

    function gmdk_mesh_open(path, options, reader, counts, report) bind(C, name="gmdk_mesh_open") &
        result(status)
      import :: c_char, c_int, c_ptr, gmdk_mesh_c, gmdk_report_c
      character(kind=c_char), intent(in) :: path(*)
      integer(c_int), value :: options
      type(c_ptr), intent(out) :: reader
      type(gmdk_mesh_c), intent(inout) :: counts
      type(gmdk_report_c), intent(out) :: report
      integer(c_int) :: status
    end function gmdk_mesh_open

    function gmdk_mesh_fill(reader, mesh) bind(C, name="gmdk_mesh_fill") result(status)
      import :: c_ptr, c_int, gmdk_mesh_c
      type(c_ptr), value :: reader
      type(gmdk_mesh_c), intent(inout) :: mesh
      integer(c_int) :: status
    end function gmdk_mesh_fill

    subroutine gmdk_mesh_close(reader) bind(C, name="gmdk_mesh_close")
      import :: c_ptr
      type(c_ptr), value :: reader
    end subroutine gmdk_mesh_close

    function gmdk_mesh_write(path, mesh, append, report) bind(C, name="gmdk_mesh_write") result(status)
      import :: c_char, c_int, gmdk_mesh_c, gmdk_report_c
      character(kind=c_char), intent(in) :: path(*)
      type(gmdk_mesh_c), intent(in) :: mesh
      integer(c_int), value :: append
      type(gmdk_report_c), intent(out) :: report
      integer(c_int) :: status
    end function gmdk_mesh_write

    function gmdk_version() bind(C, name="gmdk_version") result(text)
      import :: c_ptr
      type(c_ptr) :: text
    end function gmdk_version
  end interface

end module gmdkit_c_api
