      INTEGER K
      K = = 2
