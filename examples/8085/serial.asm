; An 8085 program: sends a greeting out of the serial output line SOD and
; echoes what arrives on the serial input line SID, both driven by software
; (SIM and RIM) at 9600 baud with a 3.072 MHz clock (6.144 MHz crystal).
; Assemble it from this directory with
;	tarn -I ../../tables serial.asm
; which writes serial.LST, serial.HEX (Intel hex) and serial.ERR.
	CPU "8085.tbl"
	HOF "INT8"
	TITL "8085 software serial line"

CLOCK	EQU 3072000		; processor clock in Hz
BAUD	EQU 9600
; One bit lasts CLOCK/BAUD = 320 clock states. The delay loop below takes
; 14 states a turn (DCR 4, JNZ 10) plus about 40 around it.
BITLOOP	EQU {CLOCK/BAUD-40}/14
SOE	EQU 40H			; SIM: serial output enable
SID	EQU 80H			; RIM: serial input data

; SENDBIT puts the carry flag on SOD: SIM takes the data in bit 7 of A.
SENDBIT	MACRO
	MVI A,0
	RAR			; carry into bit 7
	ORI SOE
	SIM
	CALL BITWAIT
	ENDM

	ORG 2000H
START	LXI SP,2100H
	STC			; the line idles at 1
	SENDBIT
	LXI H,HELLO
NEXT	MOV A,M
	ORA A			; a zero ends the text
	JZ ECHO
	CALL PUTC
	INX H
	JMP NEXT
ECHO	CALL GETC
	CALL PUTC
	JMP ECHO

; PUTC sends the character in A: start bit 0, eight data bits from the
; lowest, stop bit 1. B and C are used.
PUTC	MOV C,A
	ORA A			; clears the carry: the start bit
	SENDBIT
	MVI B,8
PUTBIT	MOV A,C
	RAR			; next data bit into the carry
	MOV C,A
	SENDBIT
	DCR B
	JNZ PUTBIT
	STC			; the stop bit
	SENDBIT
	RET

; GETC waits for a start bit on SID and returns the character in A: each
; bit is read in its middle, half a bit after the edge and then a whole bit
; apart. B and C are used.
GETC	RIM
	ANI SID
	JNZ GETC		; still idle
	CALL HALFWAIT
	MVI B,8
GETBIT	CALL BITWAIT
	RIM			; SID into bit 7 of A, then into the carry
	RAL
	MOV A,C
	RAR			; the bit enters from the top: lowest bit first
	MOV C,A
	DCR B
	JNZ GETBIT
	CALL BITWAIT		; the stop bit
	MOV A,C
	RET

; BITWAIT waits one bit time, HALFWAIT half of one; A is used.
BITWAIT	MVI A,BITLOOP
	JMP WAIT
HALFWAIT MVI A,BITLOOP/2
WAIT	DCR A
	JNZ WAIT
	RET

HELLO	DFB "8085 ready", 0DH, 0AH, 0

	END START
