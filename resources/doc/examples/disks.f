      PROGRAM DISKS
      IMPLICIT NONE
      REAL R, AREA, CIRCUM
      INTEGER I
      DO 10 I = 1, 3
         R = REAL(I)
         WRITE (*, 100) R, AREA(R), CIRCUM(R)
   10 CONTINUE
  100 FORMAT (' R =', F4.1, '  Area =', F7.3, '  Circumference =', F7.3)
      END
