      PROGRAM FILES
      IMPLICIT NONE
      INTEGER I, N, SUM
      OPEN (UNIT=10, FILE='squares.txt', STATUS='UNKNOWN')
      DO 10 I = 1, 4
         WRITE (10, 100) I * I
   10 CONTINUE
      REWIND 10
      SUM = 0
   20 READ (10, 100, END=30) N
      SUM = SUM + N
      GO TO 20
   30 CLOSE (10, STATUS='DELETE')
      WRITE (*, 110) SUM
  100 FORMAT (I5)
  110 FORMAT (' Sum read back from the file:', I4)
      END
