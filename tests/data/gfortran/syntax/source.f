      PROGRAM BROKEN
      INTEGER I
      I = 1
      I = I + * 2
      PRINT *, I
      END
