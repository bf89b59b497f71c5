      PROGRAM FATAL
      INCLUDE 'missing.h'
      END
