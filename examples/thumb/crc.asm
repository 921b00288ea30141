; A Cortex-M0 program: copies a message from flash to RAM, computes its
; CRC-8 (polynomial 07H) a nibble at a time through a 16-entry table, and
; waits a millisecond on the SysTick counter between blocks.
; Assemble it from this directory with
;	tarn -I ../../tables crc.asm
; which writes crc.LST, crc.HEX (Intel hex) and crc.ERR.
	CPU "thumb.tbl"
	HOF "INT8"
	TITL "Cortex-M0 copy, CRC-8 and SysTick delay"
	INCL "cortexm0.inc"

	ORG FLASH
; The vector table: initial stack pointer, then the reset handler with its
; Thumb bit set.
	DLL STACKTOP, RESET+1

RESET	LDR R0,P_BUFFER	; destination in RAM
	LDR R1,P_MSG		; source in flash
	MOVS R2,#MSGLEN
	BL MEMCPY
	LDR R0,P_BUFFER
	MOVS R1,#MSGLEN
	MOVS R2,#0		; initial CRC
	BL CRC8
	MOVS R4,R0		; keep the CRC
AGAIN	MOVS R0,#1
	BL DELAYMS
	ADDS R4,#1
	B AGAIN

; MEMCPY copies R2 bytes from R1 to R0 (R2 may be 0). Uses R3.
MEMCPY	CMP R2,#0
	BEQ MCDONE
MCLOOP	LDRB R3,[R1]
	STRB R3,[R0]
	ADDS R1,#1
	ADDS R0,#1
	SUBS R2,#1
	BNE MCLOOP
MCDONE	BX LR

; CRC8 returns in R0 the CRC-8 of R1 bytes at R0, starting from R2.
; Each byte is folded in as two nibbles: crc = table[(crc >> 4) ^ nibble]
; ^ (crc << 4), the high nibble first.
CRC8	PUSH {R4,R5,R6,LR}
	LDR R3,P_TABLE
	CMP R1,#0
	BEQ CRCEND
CRCNEXT	LDRB R4,[R0]
	ADDS R0,#1
	LSRS R5,R4,#4		; high nibble
	BL CRCNIB
	MOVS R5,#0FH
	ANDS R5,R4		; low nibble
	BL CRCNIB
	SUBS R1,#1
	BNE CRCNEXT
CRCEND	MOVS R0,R2
	POP {R4,R5,R6,PC}
; One nibble R5 into the CRC in R2, through the table at R3. Uses R6.
CRCNIB	LSRS R6,R2,#4
	EORS R6,R5
	LDRB R6,[R3,R6]
	LSLS R2,R2,#4
	UXTB R2,R2
	EORS R2,R6
	BX LR

; DELAYMS waits R0 milliseconds (R0 > 0) on SysTick. Uses R1-R3.
DELAYMS	LDR R1,P_SYST
	LDR R2,P_TICKS
	STR R2,[R1,#SYST_RVR-SYST_CSR]
	STR R2,[R1,#SYST_CVR-SYST_CSR]	; any write clears the counter
	MOVS R2,#5		; ENABLE, processor clock
	STR R2,[R1]
DMWAIT	LDR R3,[R1]
	LSRS R3,R3,#17		; COUNTFLAG into the carry
	BCC DMWAIT
	SUBS R0,#1
	BNE DMWAIT
	MOVS R2,#0
	STR R2,[R1]		; stop the counter
	BX LR

; The nibble table of the polynomial x^8 + x^2 + x + 1.
CRCTAB	DFB 00H,07H,0EH,09H,1CH,1BH,12H,15H
	DFB 38H,3FH,36H,31H,24H,23H,2AH,2DH

MESSAGE	DFB "Hello, Cortex-M0"
MSGLEN	EQU $-MESSAGE

; The literal pool, on a word boundary: LDR reports an entry out of line as
; out of range, so the padding below is checked on every assembly.
	DFB 0,0
P_BUFFER DLL RAM+100H
P_SYST	DLL SYST_CSR
P_TICKS	DLL TICKS_MS-1
P_MSG	DLL MESSAGE
P_TABLE	DLL CRCTAB
	END
