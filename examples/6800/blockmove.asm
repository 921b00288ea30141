; A 6800 program: copies a block of memory, adds up the copy into an 8-bit
; checksum and sends the checksum in hexadecimal through an MC6850.
; Assemble it from this directory with
;	tarn -I ../../tables blockmove.asm
; which writes blockmove.LST, blockmove.HEX (Motorola S-records) and
; blockmove.ERR.
	CPU "6800.tbl"
	HOF "MOT8"
	TITL "6800 block move and checksum"
	INCL "acia.inc"

; SETW stores a 16-bit constant into a direct-page word.
SETW	MACRO WORD,VALUE
	LDX #VALUE
	STX WORD
	ENDM

	ORG $0100
START	LDS #STACK
	LDAA #MRESET
	STAA ACIACR
	LDAA #MODE
	STAA ACIACR
	SETW SRCPTR,TEXT
	SETW DSTPTR,BUFFER
	SETW COUNT,TEXTLEN	; a forward name: settled in a later pass
	JSR MOVE
	SETW SRCPTR,BUFFER
	SETW ENDPTR,BUFFER+TEXTLEN
	JSR CHKSUM
	JSR OUTHEX
HALT	BRA HALT

; MOVE copies COUNT bytes from (SRCPTR) to (DSTPTR), lowest address first.
; There is a single index register, so X takes turns as the source and the
; destination pointer; both live in the direct page between the turns.
MOVE	LDX COUNT
	BEQ MOVED		; LDX sets Z: nothing to copy
MOVEL	LDX SRCPTR
	LDAA ,X
	INX
	STX SRCPTR
	LDX DSTPTR
	STAA ,X
	INX
	STX DSTPTR
	LDX COUNT
	DEX
	STX COUNT
	BNE MOVEL
MOVED	RTS

; CHKSUM adds the bytes from (SRCPTR) up to ENDPTR into A, modulo 256. CPX
; sets only Z reliably on this processor, so the loop ends on equality.
CHKSUM	LDX SRCPTR
	CLRA
SUML	CPX ENDPTR
	BEQ SUMMED
	ADDA ,X
	INX
	BRA SUML
SUMMED	RTS

; OUTHEX sends A as two hexadecimal digits, the high one first.
OUTHEX	PSHA
	LSRA
	LSRA
	LSRA
	LSRA
	BSR OUTDIG
	PULA
	ANDA #$0F
; OUTDIG sends the digit for the value 0..15 in A. Without a way to add A
; to X, the digit's address is built in the direct page, low byte first so
; that its carry can go into the high byte.
OUTDIG	ADDA #LOW DIGITS
	STAA DIGPTR+1
	LDAA #HIGH DIGITS
	ADCA #0
	STAA DIGPTR
	LDX DIGPTR
	LDAA ,X
; PUTC sends A once the transmitter can take it.
PUTC	LDAB ACIACR
	BITB #TDRE
	BEQ PUTC
	STAA ACIADR
	RTS

DIGITS	DFB "0123456789ABCDEF"
TEXT	DFB "Block moved by a 6800"
TEXTLEN	EQU $-TEXT

	ORG $FFFE
	DWM START		; reset vector

	END START
