; data that starts inside B0000-BFFFF needs no segment record before it
	ORG 0B1234H
	DFB 1,2,3
	END
