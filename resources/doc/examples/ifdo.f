      PROGRAM IFDO
      IMPLICIT NONE
      INTEGER I, N
C     A counted loop: the label names the statement that ends it.
      DO 10 I = 1, 5
         IF (MOD(I, 2) .EQ. 0) THEN
            WRITE (*, 100) I, 'even'
         ELSE IF (I .EQ. 5) THEN
            WRITE (*, 100) I, 'odd, and the last'
         ELSE
            WRITE (*, 100) I, 'odd'
         END IF
   10 CONTINUE
C     A loop that runs while a condition holds, written with GO TO.
      N = 1
   20 IF (N .LT. 1000) THEN
         N = N * 3
         GO TO 20
      END IF
      WRITE (*, 110) N
  100 FORMAT (1X, I2, 1X, A)
  110 FORMAT (' First power of 3 past 1000: ', I4)
      END
