      PROGRAM WALL
      INTEGER J
      REAL X
      X = 1.5
      IF (X .EQ. 1.5) PRINT *, 'equal'
      END
