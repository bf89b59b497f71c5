      PROGRAM INCL
      INCLUDE 'inc.h'
      PRINT *, K
      END
