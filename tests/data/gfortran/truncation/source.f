      PROGRAM TRUNC
      INTEGER I
      I = 1                                                             + 2
      PRINT *, I
      END
