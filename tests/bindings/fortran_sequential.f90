! A GMD frame has the shape of a Fortran unformatted sequential record with
! 4-byte markers: the length, the 4 header bytes and the payload, the length
! again. This program writes triangle records with plain Fortran I/O and
! reads them through libgmd, then writes triangles through libgmd and reads
! them with plain Fortran I/O, record for record.
program fortran_sequential
  use gmd
  use fortran_checks
  implicit none
  character(*), parameter :: by_fortran = 'by_fortran.gmd', by_library = 'by_library.gmd'
  integer, parameter :: count = 5
  real(c_float) :: vertices(9, count), back(9), thickness(1)
  integer(c_int32_t) :: group, layout, n
  character(4) :: header
  type(c_ptr) :: h
  integer :: unit, k, status

  do k = 1, count
    vertices(:, k) = [real(k, c_float), 0., 0., 0., real(k, c_float) / 3, 0., 0., 0., -real(k, c_float)]
  end do

  ! Fortran writes: letter, word count, group byte, second header byte.
  open (newunit=unit, file=by_fortran, form='unformatted', access='sequential', status='replace')
  do k = 1, count
    write (unit) 'P' // achar(9) // achar(k) // achar(0), vertices(:, k)
  end do
  ! A triangle with a one-value thickness list: letter A, layout code 1.
  write (unit) 'A' // achar(11) // achar(0) // achar(1), vertices(:, 1), 1_c_int32_t, 0.75_c_float
  close (unit)

  h = gmd_open_read_file(by_fortran)
  call expect(c_associated(h), 'open the Fortran file')
  do k = 1, count
    call expect(GMD_GetRecord(h) == 1, 'read a Fortran record')
    call expect(GMD_GetRecordType(h) == GMD_RECORD_TRIANGLE, 'a triangle')
    call expect(GMD_GetTriangle(h, back) == 1, 'get the triangle')
    call same(back, vertices(:, k), 'vertices written by Fortran')
    call expect(GMD_GetGroup(h, group) == 1 .and. group == k, 'group written by Fortran')
  end do
  call expect(GMD_GetRecord(h) == 1, 'read the attributed record')
  call expect(GMD_GetRecordType(h) == GMD_RECORD_ATTRIBUTED_TRIANGLE, 'an attributed triangle')
  call expect(GMD_GetPolygonNumThickness(h, n) == 1 .and. n == 1, 'one thickness value')
  call expect(GMD_GetPolygonThickness(h, thickness) == 1, 'get the thickness')
  call same(thickness, [0.75], 'thickness written by Fortran')
  call expect(GMD_GetRecord(h) == 0, 'end of the Fortran file')
  call expect(GMD_CloseFile(h) == 1, 'close')

  h = gmd_open_write_file(by_library)
  do k = 1, count
    call expect(GMD_SetGroup(h, int(-k, c_int32_t)) == 1, 'set group')
    call expect(GMD_SetTriangle(h, vertices(:, k)) == 1, 'set triangle')
    call expect(GMD_WriteRecord(h) == 1, 'write triangle')
  end do
  call expect(GMD_SetTriangle(h, vertices(:, 1)) == 1, 'set triangle')
  call expect(GMD_SetPolygonThickness(h, 1_c_int32_t, [0.75_c_float]) == 1, 'set thickness')
  call expect(GMD_WriteRecord(h) == 1, 'write attributed triangle')
  call expect(GMD_CloseFile(h) == 1, 'close')

  open (newunit=unit, file=by_library, form='unformatted', access='sequential', status='old')
  do k = 1, count
    read (unit, iostat=status) header, back
    call expect(status == 0, 'Fortran reads a library record')
    call expect(header == 'P' // achar(9) // achar(256 - k) // achar(0), 'header of a library record')
    call same(back, vertices(:, k), 'vertices written by the library')
  end do
  read (unit, iostat=status) header, back, n, thickness
  call expect(status == 0, 'Fortran reads the attributed record')
  call expect(header(1:2) == 'A' // achar(11), 'letter and word count of the attributed record')
  layout = iachar(header(4:4))
  call expect(layout == 1 .and. n == 1, 'layout code 1 with one thickness value')
  call same(thickness, [0.75], 'thickness written by the library')
  read (unit, iostat=status) header
  call expect(is_iostat_end(status), 'end of the library file')
  close (unit)

  call finish('fortran_sequential', 'both directions agree record for record')

end program fortran_sequential
