C Columns 1-5: a C or * in column 1 makes a comment; else a label.
C Column 6: any character but blank or zero continues the line.
C Columns 7-72: the statement.  Anything past column 72 is lost.
      PROGRAM COLS
      INTEGER TOTAL
      TOTAL = 1 + 2 + 3 + 4 + 5 + 6 + 7 + 8 + 9 + 10 + 11 + 12 + 13
     &      + 14 + 15 + 16 + 17 + 18 + 19 + 20
      WRITE (*, 100) TOTAL
  100 FORMAT (' Sum of 1 to 20 is ', I3)
      END
