C     The smallest complete program: one statement and the END.
      PROGRAM HELLO
      PRINT *, 'Hello from FORTRAN 77'
      END
