; A Z80 program: copies a message into RAM, computes its CRC-16 (the CCITT
; polynomial 1021H, initial value 0FFFFH) and sends the message and the CRC
; in hexadecimal to a serial port.
; Assemble it from this directory with
;	tarn -I ../../tables crc16.asm
; which writes crc16.LST, crc16.HEX (Intel hex) and crc16.ERR.
	CPU "z80.tbl"
	HOF "INT8"
	TITL "Z80 CRC-16 and serial output"
	INCL "ports.inc"

; SEND waits until the transmitter is free, then sends the byte in A. A label
; made in an expansion belongs to that expansion, so WAIT can recur.
SEND	MACRO
	PUSH AF
WAIT	IN A,(UARTSTAT)
	BIT TXREADY,A
	JR Z,WAIT
	POP AF
	OUT (UARTDATA),A
	ENDM

	ORG 0
	DI
	LD SP,STACKTOP
	IM 1
	JP START

	ORG 38H			; the mode 1 interrupt: nothing to do
	EI
	RETI

	ORG 100H
START:
	LD HL,MESSAGE		; the message into its RAM buffer
	LD DE,BUFFER
	LD BC,MSGLEN
	LDIR
	LD IX,BLOCK		; the block descriptor: address and length
	LD L,(IX+0)
	LD H,(IX+1)
	LD C,(IX+2)
	LD B,(IX+3)
	CALL CRC16		; DE := CRC of the buffer
	LD (IX+4),E		; kept in the descriptor, low byte first
	LD (IX+5),D
	LD HL,BUFFER		; send the text,
	LD B,MSGLEN
NEXTCH	LD A,(HL)
	SEND
	INC HL
	DJNZ NEXTCH
	LD A,D			; then the CRC, high byte first
	CALL HEXOUT
	LD A,E
	CALL HEXOUT
	CALL DELAY
	HALT

; CRC16: the CRC of BC bytes from HL in DE. Each byte is XORed into the high
; byte, then eight shifts, each followed by XOR with the polynomial when a
; one was shifted out.
CRC16	LD DE,0FFFFH
BYTE	LD A,(HL)
	XOR D
	LD D,A
	PUSH BC
	LD B,8
SHIFT	SLA E
	RL D
	JR NC,NOXOR
	LD A,D
	XOR 10H			; polynomial 1021H
	LD D,A
	LD A,E
	XOR 21H
	LD E,A
NOXOR	DJNZ SHIFT
	POP BC
	INC HL
	DEC BC
	LD A,B
	OR C
	JR NZ,BYTE
	RET

; HEXOUT sends A as two hexadecimal digits, through the digit table.
HEXOUT	PUSH AF
	RRCA
	RRCA
	RRCA
	RRCA
	CALL DIGIT
	POP AF
DIGIT	PUSH HL
	AND 0FH
	LD HL,DIGITS
	ADD A,L
	LD L,A
	JR NC,NOCARRY
	INC H
NOCARRY	LD A,(HL)
	POP HL
	SEND
	RET

; DELAY waits about 256 * 256 loops of DJNZ, so that the last character
; leaves the port before the processor halts.
DELAY	PUSH BC
	LD C,0
OUTER	LD B,0
INNER	DJNZ INNER
	DEC C
	JR NZ,OUTER
	POP BC
	RET

DIGITS	DFB "0123456789ABCDEF"
MESSAGE	DFB "CRC-16: "
MSGLEN	EQU $-MESSAGE

BLOCK	DWL BUFFER, MSGLEN	; address, length,
	DWL 0			; and the CRC once computed

	ORG RAM
BUFFER	DFS MSGLEN

	END START
