; A 65C02 program: receives a block of bytes from a polled port into a
; buffer, checks its additive checksum and shows the result as two
; hexadecimal digits through a digit table.
; Assemble it from this directory with
;	tarn -I ../../tables receive.asm
; which writes receive.LST, receive.HEX (Intel hex) and receive.ERR.
	CPU "65c02.tbl"
	HOF "INT8"
	TITL "65C02 block receive and checksum"
	INCL "io.inc"

; POINT sets a page-zero pointer to a 16-bit constant, low byte first.
POINT	MACRO P,VALUE
	LDA #LOW VALUE
	STA P
	LDA #HIGH VALUE
	STA P+1
	ENDM

	ORG $0800
START	CLD
	LDX #$FF
	TXS
	JSR CLEAR
	POINT PTR,BUFFER
	STZ SUM
	STZ FLAGS
	LDA #BLOCK
	STA COUNT
	LDA #10B
	TRB RXCTRL		; polled: no receiver interrupt
NEXT	JSR GETBYTE
	STA (PTR)		; no index register needed
	CLC
	ADC SUM
	STA SUM
	INC PTR
	DEC COUNT
	BNE NEXT
	SMB 0,FLAGS		; block complete
	LDA SUM			; the block, checksum included, must add to 0
	BEQ GOOD
	SMB 7,FLAGS
GOOD	JSR SHOWSUM
	LDA #10B
	TSB RXCTRL		; from now on the receiver wakes us
IDLE	WAI
	BRA IDLE

; CLEAR sets the whole buffer page to zero.
CLEAR	LDX #0
CLR1	STZ BUFFER,X
	INX
	BNE CLR1
	RTS

; GETBYTE waits for the ready bit of the status port and returns the byte
; received in A.
GETBYTE	BBR 3,RXSTAT,GETBYTE
	LDA RXDATA
	RTS

; SHOWSUM writes the checksum as two hexadecimal digits after the block,
; followed by a mark that is "!" when the checksum is wrong.
SHOWSUM	PHX
	PHY
	LDY #0
	LDA SUM
	LSR A
	LSR A
	LSR A
	LSR A
	TAX
	LDA DIGITS,X
	STA (PTR),Y
	INY
	LDA SUM
	AND #$0F
	TAX
	LDA DIGITS,X
	STA (PTR),Y
	INY
	LDA #" "
	BBR 7,FLAGS,MARK
	LDA #"!"
MARK	STA (PTR),Y
	PLY
	PLX
	RTS

DIGITS	DFB "0123456789ABCDEF"

	END START
