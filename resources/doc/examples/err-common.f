      PROGRAM BITES
      IMPLICIT NONE
      REAL G, H
      COMMON /PHYS/ G, H
      G = 9.81
      H = 20.0
      CALL SHOW
      END

C     The block is declared again, and differently: the names here
C     are only local labels for the storage, so H here is G there.
      SUBROUTINE SHOW
      IMPLICIT NONE
      DOUBLE PRECISION H
      COMMON /PHYS/ H
      WRITE (*, 100) H
  100 FORMAT (' Height:', F10.2)
      END
