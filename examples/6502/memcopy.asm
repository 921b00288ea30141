; A 6502 program: copies a message to the screen with a general memory
; copy routine, then appends a byte in hexadecimal through a digit table.
; Assemble it from this directory with
;	tarn -I ../../tables memcopy.asm
; which writes memcopy.LST, memcopy.HEX (Intel hex) and memcopy.ERR.
	CPU "6502.tbl"
	HOF "INT8"
	TITL "6502 memory copy and table lookup"
	INCL "zeropage.inc"

; SETPTR stores a 16-bit constant into a page-zero pointer, low byte first.
SETPTR	MACRO PTR,VALUE
	LDA #LOW VALUE
	STA PTR
	LDA #HIGH VALUE
	STA PTR+1
	ENDM

	ORG $0800
START	CLD
	SETPTR SRC,MESSAGE
	SETPTR DST,SCREEN
	SETPTR CNT,MSGLEN
	JSR MEMCPY
	LDA #$3C		; the byte to show
	PHA
	LSR A			; high digit first
	LSR A
	LSR A
	LSR A
	JSR HEXDIG
	STA SCREEN+MSGLEN	; a forward name: settled in a later pass
	PLA
	JSR HEXDIG
	STA SCREEN+MSGLEN+1
HALT	JMP HALT

; MEMCPY copies CNT bytes from (SRC) to (DST): whole pages first, then the
; rest. SRC and DST are left pointing at the last page.
MEMCPY	LDY #0
	LDX CNT+1
	BEQ PART
PAGES	LDA (SRC),Y
	STA (DST),Y
	INY
	BNE PAGES
	INC SRC+1
	INC DST+1
	DEX
	BNE PAGES
PART	LDX CNT
	BEQ DONE
REST	LDA (SRC),Y
	STA (DST),Y
	INY
	DEX
	BNE REST
DONE	RTS

; HEXDIG turns the low four bits of A into the ASCII hexadecimal digit.
HEXDIG	AND #$0F
	TAX
	LDA DIGITS,X
	RTS

	IF LOWER
DIGITS	DFB "0123456789abcdef"
	ELSE
DIGITS	DFB "0123456789ABCDEF"
	ENDI

MESSAGE	DFB "VALUE: "
MSGLEN	EQU $-MESSAGE

	END START
