      PROGRAM LABELS
      INTEGER I
      I = 1
      GOTO 100
      PRINT *, I
      END
