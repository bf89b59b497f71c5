      PROGRAM TYPO2
      IMPLICIT NONE
      REAL TOTAL
      INTEGER I
      TOTAL = 0.0
      DO 10 I = 1, 10
         TOTAL = TOTL + I
   10 CONTINUE
      WRITE (*, 100) TOTAL
  100 FORMAT (' Total:', F6.1)
      END
