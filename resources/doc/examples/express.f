      PROGRAM EXPR
      IMPLICIT NONE
      INTEGER I, J
      REAL A, B
      I = 7
      J = 2
      A = 7.0
      B = 2.0
      WRITE (*, 100) 'I/J', I / J
      WRITE (*, 100) 'MOD(I,J)', MOD(I, J)
      WRITE (*, 100) 'J**3', J ** 3
      WRITE (*, 110) 'A/B', A / B
      WRITE (*, 110) 'I/J*1.0', I / J * 1.0
      WRITE (*, 110) 'REAL(I)/J', REAL(I) / J
      WRITE (*, 110) 'SQRT(B)', SQRT(B)
      WRITE (*, 120) 'I.GT.J .AND. A.LT.B', I .GT. J .AND. A .LT. B
  100 FORMAT (1X, A20, I8)
  110 FORMAT (1X, A20, F8.4)
  120 FORMAT (1X, A20, L8)
      END
