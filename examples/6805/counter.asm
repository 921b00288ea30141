; A 6805 program: counts from 0 to 9 on a seven-segment display, one digit
; a second, and stops counting while a push button is held; the segment
; patterns come from a lookup table, the second from a delay loop.
; Assemble it from this directory with
;	tarn -I ../../tables counter.asm
; which writes counter.LST, counter.HEX (Motorola S-records) and
; counter.ERR.
	CPU "6805.tbl"
	HOF "MOT8"
	TITL "6805 seven-segment counter"
	INCL "ports.inc"

; PAUSE waits MS10 times 10 ms.
PAUSE	MACRO MS10
	LDA #MS10
	JSR DELAY10
	ENDM

	ORG $0100
START	RSP
	CLR DDRA		; port A: inputs
	LDA #$FF
	STA DDRB		; port B: outputs
	CLR COUNT
SHOW	LDX COUNT
	LDA SEGMENTS,X		; the table lies above the direct page
	STA PORTB
	PAUSE 100
HOLD	BRCLR BUTTON,PORTA,HOLD	; wait while the button is pressed
	INC COUNT
	LDA COUNT
	CMP #10
	BLO SHOW
	CLR COUNT
	BRA SHOW

; DELAY10 waits A times 10 ms at a 1 MHz bus clock: one turn of the inner
; loop (DECX, BNE) takes 6 cycles, 166 turns about 1 ms.
DELAY10	STA TICKS
D10	LDA #10
D1	LDX #166
D0	DECX
	BNE D0
	DECA
	BNE D1
	DEC TICKS
	BNE D10
	RTS

; Segments a (bit 0) to g (bit 6) for the digits 0 to 9.
SEGMENTS DFB $3F,$06,$5B,$4F,$66,$6D,$7D,$07,$7F,$6F

	ORG $1FFE		; reset vector
	DWM START

	END START
