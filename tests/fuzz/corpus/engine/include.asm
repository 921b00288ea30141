	HOF "MOT8"
	ORG 10H
	INCL "i.inc"
	DFB FROMINC
	INCL "I.INC"
	INCL "missing.inc"
	END
=====
=====
FROMINC	SETL 5
	DFB 1,2,3
