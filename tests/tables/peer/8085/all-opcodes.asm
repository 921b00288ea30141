; Peer source: assembled here with the 8085 table, and its hand-written code
; bytes read back by dz80 in its 8085 mode (../8080/dz80-check.pl); the two
; must agree. The 8080's opcodes come first, then the two the 8085 adds.
	CPU "8085.tbl"
	HOF "BIN8"
	ORG 1000H
	INCL "../8080/all-opcodes.inc"
	RIM			; 20
	SIM			; 30
	END
