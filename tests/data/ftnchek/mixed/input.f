      PROGRAM DEMO
      INTEGER I, J
      REAL X, UNUSED
      X = 1.5
      I = X
      CALL SUB(1.0, 2)
      PRINT *, I, J
      IF (I .GT. 0 THEN
      END
      SUBROUTINE SUB(K, Y)
      INTEGER K
      RE AL Y
      K = K + 1
      END
