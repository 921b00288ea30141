; An 8080 program for CP/M: adds up the bytes of a block into a 16-bit
; checksum and prints it on the console in hexadecimal.
; Assemble it from this directory with
;	tarn -I ../../tables checksum.asm
; which writes checksum.LST, checksum.HEX (Intel hex) and checksum.ERR.
	CPU "8080.tbl"
	HOF "INT8"
	TITL "8080 block checksum"
	INCL "cpm.inc"

; SYSCALL calls a BDOS function; the argument is already in E or DE.
SYSCALL	MACRO FUNCTION
	MVI C,FUNCTION
	CALL BDOS
	ENDM

	ORG TPA
START	LXI SP,STACK
	LXI D,BANNER
	SYSCALL PRINT
	LXI H,DATA		; block to add up
	LXI B,DATLEN		; its length
	CALL SUM16
	MOV A,D			; print the high byte, then the low byte
	CALL HEXBYTE
	MOV A,E
	CALL HEXBYTE
	JMP BOOT

; SUM16 adds the BC bytes at HL into DE (carries out of bit 15 are lost).
; Returns with HL past the block and BC zero.
SUM16	LXI D,0
	MOV A,B			; an empty block sums to zero
	ORA C
	RZ
NEXT	MOV A,E
	ADD M
	MOV E,A
	JNC NOCARRY
	INR D
NOCARRY	INX H
	DCX B
	MOV A,B
	ORA C
	JNZ NEXT
	RET

; HEXBYTE prints A as two hexadecimal digits; DE is kept.
HEXBYTE	PUSH D
	PUSH PSW
	RRC			; high digit first
	RRC
	RRC
	RRC
	CALL HEXDIG
	POP PSW
	CALL HEXDIG
	POP D
	RET

; HEXDIG prints the low four bits of A as a digit, through a lookup table.
HEXDIG	ANI 0FH
	MOV E,A
	MVI D,0
	LXI H,DIGITS		; a forward name: every line keeps its size
	DAD D
	MOV E,M
	SYSCALL CONOUT
	RET

DIGITS	DFB "0123456789ABCDEF"
BANNER	DFB "Checksum: $"
DATA	DFB 12H, 34H, 56H, 78H, 9AH, 0BCH, 0DEH, 0F0H
	DFB "The quick brown fox"
DATLEN	EQU $-DATA

	DFS 32			; the stack grows down from STACK
STACK	EQU $

	END START
