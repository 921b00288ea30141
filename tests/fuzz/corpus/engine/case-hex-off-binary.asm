; HEX OFF under a binary format: the skipped code becomes fill bytes
	HOF "BIN8"
	DFB 1,2
	HEX "OFF"
	DFB 3,4
	HEX "ON"
	DFB 5
	END
