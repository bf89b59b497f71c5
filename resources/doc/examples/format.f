      PROGRAM FMT
      IMPLICIT NONE
      INTEGER I
      REAL X
      X = 1234.5678
      WRITE (*, 100) 42, -42
      WRITE (*, 110) X, X, X
      WRITE (*, 120) 'left', 'right'
      WRITE (*, 130) (I, I*I, I = 1, 3)
  100 FORMAT (' I5:', I5, '  I6.4:', I6.4)
  110 FORMAT (' F10.2:', F10.2, '  E12.4:', E12.4, '  F5.1:', F5.1)
  120 FORMAT (' A:', A, 3X, 'A8:', A8)
  130 FORMAT (' square of', I2, ' is', I3)
      END
