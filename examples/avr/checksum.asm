; An AVR program: copies a message from program memory into SRAM, adds its
; bytes into an 8-bit checksum, keeps the sum in SRAM and blinks the LED as
; many times as the low three bits of the sum say, with a delay loop between.
; Assemble it from this directory with
;	tarn -I ../../tables checksum.asm
; which writes checksum.LST, checksum.HEX (Intel hex) and checksum.ERR.
	CPU "avr.tbl"
	HOF "INT8"
	WDLN 2			; program addresses count 16-bit words
	TITL "AVR checksum and LED blink"
	INCL "io.inc"

; LDIW loads a 16-bit constant into a register pair, low register first.
LDIW	MACRO RLO,RHI,VALUE
	LDI RLO,LOW {VALUE}
	LDI RHI,HIGH {VALUE}
	ENDM

; The message's length, the buffer and the sum in SRAM.
MSGLEN	EQU 12
BUFFER	EQU SRAM
SUM	EQU SRAM+MSGLEN

	ORG 0			; the reset vector
	RJMP START

	ORG 20H
START:	LDIW R16,R17,RAMEND	; the stack at the top of SRAM
	OUT SPL,R16
	OUT SPH,R17
	SBI DDRB,LED		; the LED's pin is an output

	LDIW R30,R31,MESSAGE*2	; Z: the message, as a byte address for LPM
	LDIW R26,R27,BUFFER	; X: its buffer in SRAM
	LDI R18,MSGLEN
	RCALL COPY

	LDIW R26,R27,BUFFER
	LDI R18,MSGLEN
	RCALL CHECKSUM
	STS SUM,R24

	MOV R19,R24		; blink (sum AND 7) + 1 times
	ANDI R19,7
	INC R19
BLINK:	SBI PORTB,LED
	RCALL DELAY
	CBI PORTB,LED
	RCALL DELAY
	DEC R19
	BRNE BLINK
HALT:	SLEEP
	RJMP HALT

; COPY copies R18 bytes from program memory at Z to SRAM at X.
COPY:	LPM R0,Z+
	ST X+,R0
	DEC R18
	BRNE COPY
	RET

; CHECKSUM adds R18 bytes of SRAM at X into R24 (modulo 256).
CHECKSUM:
	CLR R24
NEXT:	LD R25,X+
	ADD R24,R25
	DEC R18
	BRNE NEXT
	RET

; DELAY waits about 200,000 cycles: 50,000 rounds of SBIW and BRNE.
DELAY:	PUSH R24
	PUSH R25
	LDIW R24,R25,50000
WAIT:	SBIW R24,1
	BRNE WAIT
	POP R25
	POP R24
	RET

; The message, an even number of bytes so that the word count stays whole.
MESSAGE	DFB "Hello, AVR!",0
	END
