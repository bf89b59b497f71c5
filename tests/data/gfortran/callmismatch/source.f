      PROGRAM CALLS
      REAL X
      X = 1.0
      CALL TWICE(X)
      END
      SUBROUTINE TWICE(N)
      INTEGER N
      N = 2 * N
      END
