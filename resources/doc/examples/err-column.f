      PROGRAM LONG
      IMPLICIT NONE
      REAL PRICE, TAX, TOTAL
      PRICE = 100.0
      TAX = 0.25
      TOTAL = PRICE + PRICE * TAX                                       + 1
      WRITE (*, 100) TOTAL
  100 FORMAT (' Total:', F7.2)
      END
