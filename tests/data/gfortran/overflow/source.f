      PROGRAM OVER
      REAL X
      X = 1.0E999
      PRINT *, X
      END
