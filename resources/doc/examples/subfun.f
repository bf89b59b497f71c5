      PROGRAM SUBFUN
      IMPLICIT NONE
      REAL V(5), AVG, MEAN
      INTEGER N
      DATA V /2.0, 4.0, 6.0, 8.0, 10.0/
      N = 5
      AVG = MEAN(V, N)
      WRITE (*, 100) AVG
      CALL SCALE(V, N, 0.5)
      WRITE (*, 110) V
  100 FORMAT (' Mean:', F6.2)
  110 FORMAT (' Halved:', 5F6.2)
      END

C     A function returns one value through its name.
      REAL FUNCTION MEAN(X, N)
      IMPLICIT NONE
      INTEGER N, I
      REAL X(N), S
      S = 0.0
      DO 10 I = 1, N
         S = S + X(I)
   10 CONTINUE
      MEAN = S / N
      END

C     A subroutine changes its arguments: they are passed by address.
      SUBROUTINE SCALE(X, N, F)
      IMPLICIT NONE
      INTEGER N, I
      REAL X(N), F
      DO 10 I = 1, N
         X(I) = X(I) * F
   10 CONTINUE
      END
