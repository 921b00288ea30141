; A 68HC11 program: sends a message over the serial port, followed by the
; 16-bit sum of its bytes as four hexadecimal digits.
; Assemble it from this directory with
;	tarn -I ../../tables checksum.asm
; which writes checksum.LST, checksum.HEX (Motorola S-records) and
; checksum.ERR.
	CPU "68hc11.tbl"
	HOF "MOT8"
	TITL "68HC11 serial checksum"
	INCL "hc11regs.inc"

; SEND transmits accumulator A once the transmit data register is empty;
; X points at the register block. Each expansion has its own WAIT label.
SEND	MACRO
WAIT	BRCLR SCSR,X,#TDRE,WAIT
	STAA SCDR,X
	ENDM

	ORG $E000
START	LDS #STACK
	LDX #REGS
	LDAA #$30		; 9600 baud from an 8 MHz crystal
	STAA BAUD,X
	BSET SCCR2,X,#TE
	LDD #0
	STD SUM
	LDY #MESSAGE
NEXT	LDAB 0,Y		; the message ends with a zero byte
	BEQ DONE
	CLRA
	ADDD SUM
	STD SUM
	LDAA 0,Y
	SEND
	INY
	BRA NEXT
DONE	LDAA SUM
	BSR HEXOUT
	LDAA SUM+1
	BSR HEXOUT
HALT	BRA HALT

; HEXOUT sends A as two hexadecimal digits, the high one first.
HEXOUT	PSHA
	LSRA
	LSRA
	LSRA
	LSRA
	BSR DIGIT
	PULA
	ANDA #$0F
; DIGIT sends the digit for the value 0..15 in A, through the table.
DIGIT	TAB
	PSHY
	LDY #DIGITS
	ABY
	LDAA 0,Y
	PULY
	SEND
	RTS

DIGITS	DFB "0123456789ABCDEF"
MESSAGE	DFB "SUM OF THIS TEXT: ",0

	ORG $FFFE		; reset vector
	DWM START

	END START
