; words of two bytes: addresses in words, object addresses in bytes, pairs swapped
	HOF "INHX8M"
	WDLN 2
	ALGN 2
	ORG 10H
	DWM 1234H,5678H
	DFB 9
	END
