; An 8051 program: copies a block from code memory into internal RAM,
; sums it with its two's complement checksum, shows the result on port 1
; as two hexadecimal digits through a digit table, and blinks with a delay
; loop. Assemble it from this directory with
;	tarn -I ../../tables checksum.asm
; which writes checksum.LST, checksum.HEX (Intel hex) and checksum.ERR.
	CPU "8051.tbl"
	HOF "INT8"
	TITL "8051 block checksum"
	INCL "sfr.inc"

; DELAY waits about COUNT_ times 512 machine cycles (COUNT_ 1..255): the
; inner DJNZ runs 256 times per outer pass. R6 and R7 are used.
DELAY	MACRO COUNT_
	MOV R7,#COUNT_
OUTER	MOV R6,#0
INNER	DJNZ R6,INNER
	DJNZ R7,OUTER
	ENDM

	ORG 0
	LJMP START
	ORG 30H

START	MOV SP,#BUFFER+BUFLEN-1	; the stack above the buffer
	CLR RS0			; register bank 0
	MOV DPTR,#BLOCK
	MOV R0,#BUFFER
	MOV R2,#BUFLEN
	ACALL COPY
	CLR LED0		; LED on while summing
	MOV R0,#BUFFER
	MOV R2,#BUFLEN
	ACALL CHECKSUM
	SETB LED0
	MOV R3,A		; keep the checksum
SHOW	MOV A,R3
	SWAP A			; high digit first
	ACALL HEXDIG
	MOV P1,A
	DELAY 200
	MOV A,R3
	ACALL HEXDIG
	MOV P1,A
	DELAY 200
	JB KEY,SHOW		; until the key is pressed
	SJMP START

; COPY moves R2 bytes from code memory at DPTR to internal RAM at @R0.
COPY	CLR A
	MOVC A,@A+DPTR
	MOV @R0,A
	INC DPTR
	INC R0
	DJNZ R2,COPY
	RET

; CHECKSUM returns in A the byte that makes the R2 bytes at @R0 sum to 0.
CHECKSUM
	CLR A
SUM	ADD A,@R0
	INC R0
	DJNZ R2,SUM
	CPL A
	INC A
	RET

; HEXDIG turns the low four bits of A into the ASCII code of their
; hexadecimal digit, read from the table after the MOVC.
HEXDIG	ANL A,#0FH
	INC A			; step over the RET below
	MOVC A,@A+PC
	RET
DIGITS	DFB "0123456789ABCDEF"

BLOCK	DFB 12H,34H,56H,78H,9AH,0BCH,0DEH,0F0H
	DFB "8051 blk"
BLKEND
	IF BLKEND-BLOCK-BUFLEN
	; the block must fill the buffer exactly
	DFB BLKEND-BLOCK-BUFLEN+1000H
	ENDI

	END START
