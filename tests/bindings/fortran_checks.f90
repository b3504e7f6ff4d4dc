! Checks shared by the Fortran binding tests: each failed check prints what
! failed and is counted; finish() stops with an error when any failed.
module fortran_checks
  use, intrinsic :: iso_c_binding, only: c_float, c_int32_t
  implicit none
  private
  public :: expect, ok, same, finish
  integer :: failures = 0

contains

  subroutine expect(condition, what)
    logical, intent(in) :: condition
    character(*), intent(in) :: what
    if (.not. condition) then
      print '(2a)', 'FAILED: ', what
      failures = failures + 1
    end if
  end subroutine expect

  subroutine ok(status, what)
    integer(c_int32_t), intent(in) :: status
    character(*), intent(in) :: what
    call expect(status == 1, what)
  end subroutine ok

  !> Bit-for-bit equality of two float arrays.
  subroutine same(actual, expected, what)
    real(c_float), intent(in) :: actual(:), expected(:)
    character(*), intent(in) :: what
    call expect(size(actual) == size(expected), what // ' (length)')
    if (size(actual) == size(expected)) &
      call expect(all(transfer(actual, 0_c_int32_t, size(actual)) == &
                      transfer(expected, 0_c_int32_t, size(expected))), what)
  end subroutine same

  subroutine finish(program, passed)
    character(*), intent(in) :: program, passed
    if (failures > 0) then
      print '(a, ": ", i0, " checks failed")', program, failures
      error stop 1
    end if
    print '(3a)', program, ': ', passed
  end subroutine finish

end module fortran_checks
