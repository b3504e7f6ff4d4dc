! Whole files through module gmd: a file name padded with blanks, a clean
! file told from a truncated one and from a missing one, and a mesh read in
! bulk and written back, checked against the records that made it.
program fortran_files
  use gmd
  use fortran_checks
  implicit none
  ! Every call below gets the name with 23 trailing blanks.
  character(len=32) :: path = 'blank.gmd'
  character(*), parameter :: cut = 'cut.gmd', again = 'again.gmd'
  real(c_float), parameter :: triangle(3, 3) = reshape([0., 0., 0., 1., 0., 0., 0., 1., 0.], [3, 3])
  real(c_float), parameter :: segment(3, 2) = reshape([0., 0., 0., 0., 0., 2.], [3, 2])
  real(c_float), parameter :: quad(3, 4) = reshape([1., 0., 0., 1., 1., 0., 0., 1., 0., 0., 0., 0.], [3, 4])
  type(gmd_report) :: report
  type(gmd_mesh) :: mesh, back
  type(c_ptr) :: h
  integer(c_int64_t) :: three_records, four_records
  logical :: exists
  character(:), allocatable :: bytes
  integer :: unit

  ! A triangle, a record that is not a cell, a segment, a quad.
  h = gmd_open_write_file(path)
  call ok(GMD_SetGroup(h, 3_c_int32_t), 'triangle group')
  call ok(GMD_SetTriangle(h, triangle), 'triangle')
  call ok(GMD_WriteRecord(h), 'write triangle')
  call ok(gmd_set_volume_material_name(h, 'air'), 'material name')
  call ok(GMD_WriteRecord(h), 'write material name')
  call ok(GMD_SetGroup(h, 1_c_int32_t), 'segment group')
  call ok(GMD_SetSegment(h, segment), 'segment')
  call ok(GMD_SetSegmentVolume(h, 7_c_int32_t), 'segment volume')
  call ok(GMD_SetSegmentRadius(h, 0.25_c_float), 'segment radius')
  call ok(GMD_WriteRecord(h), 'write segment')
  call ok(GMD_CloseFile(h), 'close')
  inquire (file='blank.gmd', exist=exists, size=three_records)
  call expect(exists, 'the padded name created blank.gmd')
  h = gmd_open_append_file(path)
  call ok(GMD_SetGroup(h, -2_c_int32_t), 'quad group')
  call ok(GMD_SetQuad(h, quad), 'quad')
  call ok(GMD_SetPolygonVolumes(h, 1_c_int32_t, 2_c_int32_t), 'quad volumes')
  call ok(GMD_WriteRecord(h), 'write quad')
  call ok(GMD_CloseFile(h), 'close')
  inquire (file='blank.gmd', size=four_records)

  ! The same file cut inside its last frame.
  allocate (character(four_records) :: bytes)
  open (newunit=unit, file=path, access='stream', form='unformatted', status='old')
  read (unit) bytes
  close (unit)
  open (newunit=unit, file=cut, access='stream', form='unformatted', status='replace')
  write (unit) bytes(1:four_records - 3)
  close (unit)

  call expect(gmd_scan_file(path, report) == GMDK_STATUS_OK, 'a whole file scans clean')
  call expect(report%stop == GMDK_STOP_END .and. report%reason == '', 'a clean end has no reason')
  call expect(report%offset == four_records .and. report%file_size == four_records, 'a clean end at the file size')
  call expect(report%records == 4 .and. report%last_good_record == 3 .and. sum(report%letters) == 4, &
              'four good records')
  call expect(gmd_scan_file(cut, report) == GMDK_STATUS_DAMAGED, 'a cut file is damaged')
  call expect(report%stop == GMDK_STOP_TRUNCATED, 'a cut file is truncated')
  call expect(report%offset == three_records .and. report%records == 3 .and. report%last_good_record == 2, &
              'damage at the fourth frame')
  call expect(len(report%reason) > 0 .and. len(report%message) > len(report%reason), 'damage told in words')
  call expect(gmd_scan_file('absent.gmd', report) == GMDK_STATUS_OPEN_FAILED, 'a missing file is not opened')
  call expect(report%os_error == 2, 'a missing file gives ENOENT')

  call expect(gmd_read_mesh(cut, mesh, report) == GMDK_STATUS_DAMAGED, 'a damaged mesh is refused')
  call expect(.not. allocated(mesh%points) .and. report%offset == three_records, 'nothing kept from the damage')
  call expect(gmd_read_mesh(cut, mesh, report, keep_damaged=.true.) == GMDK_STATUS_OK, 'keep the damaged mesh')
  call expect(size(mesh%triangles%group) == 1 .and. size(mesh%segments%group) == 1 .and. &
              size(mesh%quads%group) == 0 .and. report%stop == GMDK_STOP_TRUNCATED, 'the cells before the damage')

  call expect(gmd_read_mesh(path, mesh) == GMDK_STATUS_OK, 'read the mesh')
  call expect(size(mesh%points, 2) == 9, 'every corner is a point')
  call check_cells(mesh, [0_c_int64_t, 2_c_int64_t, 3_c_int64_t], 'mesh read')
  call expect(gmd_read_mesh(path, mesh, merge_points=.true.) == GMDK_STATUS_OK, 'read the mesh, points merged')
  call expect(size(mesh%points, 2) == 5, 'five distinct points')
  call check_cells(mesh, [0_c_int64_t, 2_c_int64_t, 3_c_int64_t], 'mesh read, points merged')

  ! In record order the cells come back triangle, segment, quad.
  call expect(gmd_write_mesh(again, mesh) == GMDK_STATUS_OK, 'write the mesh')
  call expect(gmd_read_mesh(again, back, merge_points=.true.) == GMDK_STATUS_OK, 'read the written mesh')
  call check_cells(back, [0_c_int64_t, 1_c_int64_t, 2_c_int64_t], 'mesh written')
  deallocate (mesh%triangles%group)
  allocate (mesh%triangles%group(2))
  call expect(gmd_write_mesh(again, mesh, report=report) == GMDK_STATUS_BAD_ARGUMENT .and. &
              len(report%reason) > 0, 'a mismatched array is refused with a reason')

  deallocate (bytes)  ! main-program variables are not freed at the end
  call finish('fortran_files', 'padded names, damage and bulk meshes as expected')

contains

  !> The cells of the file's mesh, found at records `records` (triangle, segment, quad).
  subroutine check_cells(m, records, what)
    type(gmd_mesh), intent(in) :: m
    integer(c_int64_t), intent(in) :: records(3)
    character(*), intent(in) :: what
    call expect(size(m%triangles%group) == 1 .and. size(m%segments%group) == 1 .and. &
                size(m%quads%group) == 1, what // ': one cell of each kind')
    if (size(m%triangles%group) /= 1 .or. size(m%segments%group) /= 1 .or. size(m%quads%group) /= 1) return
    call same(reshape(m%points(:, m%triangles%corners(:, 1)), [9]), reshape(triangle, [9]), what // ': triangle')
    call same(reshape(m%points(:, m%segments%corners(:, 1)), [6]), reshape(segment, [6]), what // ': segment')
    call same(reshape(m%points(:, m%quads%corners(:, 1)), [12]), reshape(quad, [12]), what // ': quad')
    call expect(all([m%triangles%group, m%segments%group, m%quads%group] == [3, 1, -2]), what // ': groups')
    call expect(all([m%triangles%volume, m%segments%volume, m%quads%volume] == [0, 0, 7, 0, 1, 2]), &
                what // ': volumes')
    call same(m%segment_radius, [0.25_c_float], what // ': radius')
    call expect(all([m%triangles%record, m%segments%record, m%quads%record] == records), what // ': records')
  end subroutine check_cells

end program fortran_files
