      PROGRAM STONE
      IMPLICIT NONE
      REAL G, H
      COMMON /PHYS/ G, H
      G = 9.81
      H = 20.0
      CALL FALL
      END

      SUBROUTINE FALL
      IMPLICIT NONE
      REAL G, H, T
      COMMON /PHYS/ G, H
      T = SQRT(2.0 * H / G)
      WRITE (*, 100) H, T
  100 FORMAT (' A stone falls ', F4.1, ' m in ', F5.3, ' s')
      END
