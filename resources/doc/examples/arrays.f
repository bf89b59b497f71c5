      PROGRAM ARRAYS
      IMPLICIT NONE
      INTEGER NR, NC
      PARAMETER (NR = 3, NC = 4)
      INTEGER A(NR, NC), I, J
C     The inner loop runs over the first index: the elements it
C     touches lie next to each other in memory (column-major order).
      DO 20 J = 1, NC
         DO 10 I = 1, NR
            A(I, J) = 10 * I + J
   10    CONTINUE
   20 CONTINUE
C     Print row by row with an implied DO list.
      DO 30 I = 1, NR
         WRITE (*, 100) (A(I, J), J = 1, NC)
   30 CONTINUE
C     The same array in storage order.
      WRITE (*, 110) A
  100 FORMAT (1X, 4I4)
  110 FORMAT (' In memory:', 12I3)
      END
