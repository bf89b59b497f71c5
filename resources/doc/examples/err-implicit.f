      PROGRAM TYPO
C     No IMPLICIT NONE: the misspelt TOTL is a new variable.
      TOTAL = 0.0
      DO 10 I = 1, 10
         TOTAL = TOTL + I
   10 CONTINUE
      WRITE (*, 100) TOTAL
  100 FORMAT (' Total:', F6.1)
      END
