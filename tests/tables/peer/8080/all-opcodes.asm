; Peer source: assembled here with the 8080 table, and its hand-written code
; bytes read back by dz80 (dz80-check.pl); the two must agree.
	CPU "8080.tbl"
	HOF "BIN8"
	ORG 1000H
	INCL "all-opcodes.inc"
	END
