; object format BIN16: image from the first code, gaps filled, a backward move refused
	HOF "BIN16"
	ORG 0x100
START	DFB 1,2,3
	ORG 0x108
	DWL START
	FILL 0
	DFS 3
	DFB 4
	ORG 0x100
	DFB 5
	END START
