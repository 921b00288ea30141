; A 6801 program: a 16-bit additive checksum over a block of words, a
; lookup in a table of fixed-size records (MUL scales the index, ABX adds
; it) and a delay loop; the results go out through the on-chip serial
; interface as hexadecimal digits.
; Assemble it from this directory with
;	tarn -I ../../tables checksum.asm
; which writes checksum.LST, checksum.HEX (Motorola S-records) and
; checksum.ERR.
	CPU "6801.tbl"
	HOF "MOT8"
	TITL "6801 checksum and table lookup"
	INCL "sci.inc"

; PAUSE waits the given number of milliseconds, 1 to 255.
PAUSE	MACRO MS
	LDAB #MS
	JSR DELAY
	ENDM

RECSIZE	EQU 6		; the records of RECORDS: 4 name bytes, a 16-bit value

	ORG $F800
START	LDS #STACK
	LDAA #RATE
	STAA RMCR
	LDAA #TE
	STAA TRCSR
	LDX #BLOCKEND
	STX ENDP
	LDX #BLOCK
	JSR SUM16
	STD SUM
	JSR OUTHEX4
	PAUSE 250
	LDAA #2			; the third record
	JSR RECORD
	LDD 4,X			; its value
	JSR OUTHEX4
	PAUSE 250
HALT	BRA HALT

; SUM16 adds the words from X up to ENDP into D, modulo 65536. The 6801's
; CPX sets the carry, so the loop also ends when X runs past the end.
SUM16	CLRA
	CLRB
SUML	CPX ENDP
	BHS SUMD
	ADDD ,X
	INX
	INX
	BRA SUML
SUMD	RTS

; RECORD points X at record number A of RECORDS (A * RECSIZE below 256).
RECORD	LDAB #RECSIZE
	MUL
	LDX #RECORDS
	ABX
	RTS

; OUTHEX4 sends D as four hexadecimal digits.
OUTHEX4	PSHB
	BSR OUTHEX2
	PULA
; OUTHEX2 sends A as two digits, the high one first.
OUTHEX2	PSHA
	LSRA
	LSRA
	LSRA
	LSRA
	BSR OUTDIG
	PULA
	ANDA #$0F
; OUTDIG sends the digit for the value 0..15 in A.
OUTDIG	PSHX
	LDX #DIGITS
	TAB			; the instruction: A to B
	ABX
	LDAA ,X
	PULX
; PUTC sends A once the transmitter can take it.
PUTC	LDAB TRCSR
	BITB #TDRE
	BEQ PUTC
	STAA TDR
	RTS

; DELAY waits B milliseconds: DEX and BNE take 3 cycles each.
MSLOOP	EQU ECLOCK/1000/6
DELAY	PSHX
DELAYO	LDX #MSLOOP
DELAYI	DEX
	BNE DELAYI
	DECB
	BNE DELAYO
	PULX
	RTS

DIGITS	DFB "0123456789ABCDEF"
RECORDS	DFB "ONE "
	DWM 1
	DFB "TWO "
	DWM 2
	DFB "TEN "
	DWM 10
BLOCK	DWM $1234,$5678,$9ABC,$DEF0,$0FED,$CBA9
BLOCKEND

	ORG $FFFE
	DWM START		; reset vector

	END START
