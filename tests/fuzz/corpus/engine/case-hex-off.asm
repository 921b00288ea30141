; HEX OFF suppresses output; under INT8 records resume at the address of HEX ON
	HOF "INT8"
	DFB 1,2
	HEX "OFF"
	DFB 3,4
	HEX "ON"
	DFB 5
	END
