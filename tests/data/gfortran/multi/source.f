      PROGRAM MULTI
      INTEGER I
      REAL R
      I = 1
      R = MOD(I, R, 3) + SQRT(I)
      CALL S(I)
      CALL S(R)
      END
      SUBROUTINE S(A)
      INTEGER A
      END
