; A 6502 program: copies a message to the screen with a general memory
; copy routine, then appends a byte in hexadecimal through a digit table.
; Assemble it from this directory with
;	tarn -I ../../tables memcopy.asm
; which writes memcopy.LST, memcopy.HEX (Intel hex) and memcopy.ERR.
	CPU "t.tbl"
	HOF "INT8"
	TITL "6502 memory copy and table lookup"
	INCL "i.inc"

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
=====
*
1,8,8,#,-128,255
2,8,8,#,0,255
3,8,16,INV # >> 16,0,65535
4,8,8,# - $ - 2,$ - 126,$ + 129
*
1,#{1}^0800:
2,{2}^0400:
3,{3}^0C0000:
4,{2},X^1400:
5,{3},X^1C0000:
6,{3},Y^180000:
7,({2},X)^0000:
8,({2}),Y^1000:
10,#{1}^0000:
11,{2}^0400:
12,{3}^0C0000:
13,{2},X^1400:
14,{3},X^1C0000:
15,{2},Y^1400:
16,{3},Y^1C0000:
20,{3}^000000:
21,({3})^000000:
22,{4}^0000:
*
ORA|1-8^01:
AND|1-8^21:
EOR|1-8^41:
ADC|1-8^61:
STA|2-8^81:
LDA|1-8^A1:
CMP|1-8^C1:
SBC|1-8^E1:
ASL^0A:
ASL A^0A:
ASL|11-14^02:
ROL^2A:
ROL A^2A:
ROL|11-14^22:
LSR^4A:
LSR A^4A:
LSR|11-14^42:
ROR^6A:
ROR A^6A:
ROR|11-14^62:
STX|11-12^82:
STX|15^82:
LDX|10-12^A2:
LDX|15-16^A2:
DEC|11-14^C2:
INC|11-14^E2:
BIT|11-12^20:
STY|11-13^80:
LDY|10-14^A0:
CPY|10-12^C0:
CPX|10-12^E0:
JMP|20^4C:
JMP|21^6C:
JSR|20^20:
BPL|22^10:
BMI|22^30:
BVC|22^50:
BVS|22^70:
BCC|22^90:
BCS|22^B0:
BNE|22^D0:
BEQ|22^F0:
BRK^00:
PHP^08:
CLC^18:
PLP^28:
SEC^38:
RTI^40:
PHA^48:
CLI^58:
RTS^60:
PLA^68:
SEI^78:
DEY^88:
TXA^8A:
TYA^98:
TXS^9A:
TAY^A8:
TAX^AA:
CLV^B8:
TSX^BA:
INY^C8:
DEX^CA:
CLD^D8:
INX^E8:
NOP^EA:
SED^F8:
=====
; Page-zero pointers and the machine's fixed addresses, shared by the
; routines of memcopy.asm.
SRC	EQU $FB		; source pointer, low byte first
DST	EQU $FD		; destination pointer
CNT	EQU $F9		; byte count, 16 bits
SCREEN	EQU $0400	; where the message is copied to

LOWER	EQU 0		; 1: hexadecimal digits in lower case
