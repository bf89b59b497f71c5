C     A unit of its own: compile it with -c and link it with the
C     programs that call it.
      SUBROUTINE SWAP(A, B)
      IMPLICIT NONE
      REAL A, B, T
      T = A
      A = B
      B = T
      END
