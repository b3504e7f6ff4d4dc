! The peer: the triangle records through gfortran unformatted sequential I/O.
! Each record is a 4-byte header word and nine float32 vertex values, so the
! compiler's record markers around them make exactly the bytes of a triangle
! frame. Values and checksums follow bench/workload.h.
module gmd_bench_peer
  use, intrinsic :: iso_c_binding
  implicit none
  private
  public :: peer_write_tri, peer_read_tri

  integer(c_int32_t), parameter :: header = 80 + 9 * 256   ! 'P', word count 9, group bytes 0
  integer(c_int64_t), parameter :: low32 = 4294967295_c_int64_t

contains

  function fortran_name(path) result(name)
    character(kind=c_char), intent(in) :: path(*)
    character(len=:), allocatable :: name
    integer :: n
    n = 0
    do while (path(n + 1) /= c_null_char)
      n = n + 1
    end do
    allocate(character(len=n) :: name)
    name = transfer(path(1:n), name)
  end function fortran_name

  ! Returns 1 when every record was written.
  function peer_write_tri(path, n) bind(C, name="gmd_bench_peer_write_tri") result(ok)
    character(kind=c_char), intent(in) :: path(*)
    integer(c_int64_t), value :: n
    integer(c_int) :: ok
    integer(c_int64_t) :: i
    integer :: u, k, ios
    real(c_float) :: v(9), base

    ok = 0
    open(newunit=u, file=fortran_name(path), form='unformatted', access='sequential', &
         status='replace', action='write', iostat=ios)
    if (ios /= 0) return
    do i = 0, n - 1
      base = real(mod(i, 1000003_c_int64_t), c_float) * 0.25_c_float
      do k = 1, 9
        v(k) = base + real(k - 1, c_float)
      end do
      write(u, iostat=ios) header, v
      if (ios /= 0) exit
    end do
    close(u)
    if (ios == 0) ok = 1
  end function peer_write_tri

  ! Reads to the end; stores the record count and the checksum of the
  ! vertex values. Returns 1 when the file ended cleanly and every header
  ! was a triangle's.
  function peer_read_tri(path, count, s1, s2) bind(C, name="gmd_bench_peer_read_tri") result(ok)
    character(kind=c_char), intent(in) :: path(*)
    integer(c_int64_t), intent(out) :: count, s1, s2
    integer(c_int) :: ok
    integer :: u, k, ios
    integer(c_int32_t) :: h
    real(c_float) :: v(9)

    ok = 0
    count = 0
    s1 = 0
    s2 = 0
    open(newunit=u, file=fortran_name(path), form='unformatted', access='sequential', &
         status='old', action='read', iostat=ios)
    if (ios /= 0) return
    ok = 1
    do
      read(u, iostat=ios) h, v
      if (ios /= 0) exit
      if (h /= header) ok = 0
      do k = 1, 9
        s1 = iand(s1 + iand(int(transfer(v(k), 0_c_int32_t), c_int64_t), low32), low32)
        s2 = s2 + s1
      end do
      count = count + 1
    end do
    if (.not. is_iostat_end(ios)) ok = 0
    close(u)
  end function peer_read_tri

end module gmd_bench_peer
