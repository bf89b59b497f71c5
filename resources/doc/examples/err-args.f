      PROGRAM ARGS
      IMPLICIT NONE
      REAL X
      X = 3.0
      CALL TWICE(X)
      END

      SUBROUTINE TWICE(N)
      IMPLICIT NONE
      INTEGER N
      WRITE (*, *) 2 * N
      END
