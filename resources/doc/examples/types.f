      PROGRAM TYPES
      IMPLICIT NONE
      INTEGER N
      REAL X
      DOUBLE PRECISION D
      LOGICAL OK
      CHARACTER*12 NAME
      REAL PI
      PARAMETER (PI = 3.141593)
      N = 7
      X = N / 2
      D = 1.0D0 / 3.0D0
      OK = N .GT. 5
      NAME = 'Fortran'
      WRITE (*, 100) N, X, D, OK, NAME, PI
  100 FORMAT (' N = ', I2, '   X = ', F4.1, '   D = ', F18.15 /
     &        ' OK = ', L1, '   NAME = [', A, ']   PI = ', F8.6)
      END
