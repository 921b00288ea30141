; A PIC mid-range program: fills a RAM buffer with a pattern, sums it into
; a checksum through indirect addressing (FSR/INDF), and shows the checksum
; on port B as two seven-segment digits, one after the other, through a
; RETLW lookup table, with a delay loop between them. Assemble it from
; this directory with
;	tarn -I ../../tables blink.asm
; which writes blink.LST, blink.HEX (Intel hex, byte addresses) and
; blink.ERR.
	CPU "pic14.tbl"
	HOF "INT8"
	TITL "PIC14 checksum display"
	WDLN 2			; labels count 14-bit words
	INCL "regs.inc"

; DELAY waits about TIMES_ x 768 instruction cycles (TIMES_ 1..255): the
; inner DECFSZ loop runs 256 times per outer pass.
DELAY	MACRO TIMES_
	MOVLW TIMES_
	MOVWF OUTER
D_OUT	CLRF INNER
D_IN	DECFSZ INNER,F
	GOTO D_IN
	DECFSZ OUTER,F
	GOTO D_OUT
	ENDM

	ORG 0
	GOTO START
	ORG 4
	RETFIE			; no interrupts are enabled

START	BSF STATUS,RP0		; bank 1
	CLRF TRISB		; port B all outputs
	BCF STATUS,RP0		; bank 0
	CALL FILL
	CALL CHECKSUM
	MOVWF SUM
SHOW	SWAPF SUM,W		; high digit first
	CALL SEGMENT
	MOVWF PORTB
	DELAY 200
	MOVF SUM,W
	CALL SEGMENT
	MOVWF PORTB
	DELAY 200
	CLRF PORTB		; a dark pause between the two showings
	DELAY 100
	GOTO SHOW

; FILL writes BUFLEN bytes 1, 3, 6, 10, ... (running sums) at BUFFER.
FILL	MOVLW BUFFER
	MOVWF FSR
	MOVLW BUFLEN
	MOVWF COUNT
	CLRW
FILL1	ADDWF COUNT,W		; grows by the down-counting index
	MOVWF INDF
	INCF FSR,F
	DECFSZ COUNT,F
	GOTO FILL1
	RETURN

; CHECKSUM returns in W the byte that makes the BUFLEN bytes at BUFFER sum
; to 0 (modulo 256).
CHECKSUM
	MOVLW BUFFER
	MOVWF FSR
	MOVLW BUFLEN
	MOVWF COUNT
	CLRF SUM
SUM1	MOVF INDF,W
	ADDWF SUM,F
	INCF FSR,F
	DECFSZ COUNT,F
	GOTO SUM1
	COMF SUM,F		; two's complement: invert and add 1
	INCF SUM,W
	RETURN

; SEGMENT returns in W the seven-segment pattern (segments a..g on bits
; 0..6) of the low digit of W. The table must not cross a 256-word
; boundary, since ADDWF PCL changes only the low byte of the counter.
SEGMENT	ANDLW 0FH
	ADDWF PCL,F
	RETLW 3FH		; 0
	RETLW 06H		; 1
	RETLW 5BH		; 2
	RETLW 4FH		; 3
	RETLW 66H		; 4
	RETLW 6DH		; 5
	RETLW 7DH		; 6
	RETLW 07H		; 7
	RETLW 7FH		; 8
	RETLW 6FH		; 9
	RETLW 77H		; A
	RETLW 7CH		; b
	RETLW 39H		; C
	RETLW 5EH		; d
	RETLW 79H		; E
	RETLW 71H		; F
	END
