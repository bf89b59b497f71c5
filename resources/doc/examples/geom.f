C     The functions DISKS uses, in a file of their own.
      REAL FUNCTION AREA(R)
      IMPLICIT NONE
      REAL R, PI
      PARAMETER (PI = 3.141593)
      AREA = PI * R * R
      END

      REAL FUNCTION CIRCUM(R)
      IMPLICIT NONE
      REAL R, PI
      PARAMETER (PI = 3.141593)
      CIRCUM = 2.0 * PI * R
      END
