; Peer source for as31: the program of all-opcodes.asm, which the 8051 table
; assembles to the same bytes. Only the directives differ (.org, .skip), and
; the two lowest immediates, which as31 refuses as negative numbers
; (it takes -127..255 and -32767..65535): they are written as 80H and 8000H.
	.org 0x1000
; Every opcode once, in opcode order (A5 has no instruction). Operands
; differ from opcode to opcode, mostly the opcode itself, so that a byte
; put in the wrong place shows. AJMP and ACALL reach each of the eight
; 256-byte blocks of the page; relative targets lie before and after.
HERE:
	NOP
	AJMP 1011H
	LJMP 0x2345
	RR A
	INC A
	INC 0x05
	INC @R0
	INC @R1
	INC R0
	INC R1
	INC R2
	INC R3
	INC R4
	INC R5
	INC R6
	INC R7
	JBC 0x10,HERE
	ACALL 1012H
	LCALL 0x1234
	RRC A
	DEC A
	DEC 0x15
	DEC @R0
	DEC @R1
	DEC R0
	DEC R1
	DEC R2
	DEC R3
	DEC R4
	DEC R5
	DEC R6
	DEC R7
	JB 0x20,L20
	AJMP 1121H
	RET
	RL A
	ADD A,#24H
	ADD A,25H
	ADD A,@R0
	ADD A,@R1
	ADD A,R0
	ADD A,R1
	ADD A,R2
	ADD A,R3
	ADD A,R4
	ADD A,R5
	ADD A,R6
	ADD A,R7
L20:
	JNB 0x30,L20
	ACALL 1131H
	RETI
	RLC A
	ADDC A,#34H
	ADDC A,35H
	ADDC A,@R0
	ADDC A,@R1
	ADDC A,R0
	ADDC A,R1
	ADDC A,R2
	ADDC A,R3
	ADDC A,R4
	ADDC A,R5
	ADDC A,R6
	ADDC A,R7
	JC L40
	AJMP 1241H
	ORL 42H,A
	ORL 43H,#0x34
	ORL A,#44H
	ORL A,45H
	ORL A,@R0
	ORL A,@R1
	ORL A,R0
	ORL A,R1
	ORL A,R2
	ORL A,R3
	ORL A,R4
	ORL A,R5
	ORL A,R6
	ORL A,R7
L40:
	JNC L40
	ACALL 1251H
	ANL 52H,A
	ANL 53H,#0x35
	ANL A,#54H
	ANL A,55H
	ANL A,@R0
	ANL A,@R1
	ANL A,R0
	ANL A,R1
	ANL A,R2
	ANL A,R3
	ANL A,R4
	ANL A,R5
	ANL A,R6
	ANL A,R7
	JZ L70
	AJMP 1361H
	XRL 62H,A
	XRL 63H,#0x36
	XRL A,#64H
	XRL A,65H
	XRL A,@R0
	XRL A,@R1
	XRL A,R0
	XRL A,R1
	XRL A,R2
	XRL A,R3
	XRL A,R4
	XRL A,R5
	XRL A,R6
	XRL A,R7
L70:
	JNZ L40
	ACALL 1371H
	ORL C,72H
	JMP @A+DPTR
	MOV A,#74H
	MOV 75H,#57H
	MOV @R0,#76H
	MOV @R1,#77H
	MOV R0,#078H
	MOV R1,#079H
	MOV R2,#07AH
	MOV R3,#07BH
	MOV R4,#07CH
	MOV R5,#07DH
	MOV R6,#07EH
	MOV R7,#07FH
	SJMP L70
	AJMP 1481H
	ANL C,82H
	MOVC A,@A+PC
	DIV AB
	MOV 58H,85H
	MOV 86H,@R0
	MOV 87H,@R1
	MOV 088H,R0
	MOV 089H,R1
	MOV 08AH,R2
	MOV 08BH,R3
	MOV 08CH,R4
	MOV 08DH,R5
	MOV 08EH,R6
	MOV 08FH,R7
	MOV DPTR,#9091H
	ACALL 1491H
	MOV 92H,C
	MOVC A,@A+DPTR
	SUBB A,#94H
	SUBB A,95H
	SUBB A,@R0
	SUBB A,@R1
	SUBB A,R0
	SUBB A,R1
	SUBB A,R2
	SUBB A,R3
	SUBB A,R4
	SUBB A,R5
	SUBB A,R6
	SUBB A,R7
	ORL C,/0A0H
	AJMP 15A1H
	MOV C,0A2H
	INC DPTR
	MUL AB
	MOV @R0,0A6H
	MOV @R1,0A7H
	MOV R0,0A8H
	MOV R1,0A9H
	MOV R2,0AAH
	MOV R3,0ABH
	MOV R4,0ACH
	MOV R5,0ADH
	MOV R6,0AEH
	MOV R7,0AFH
	ANL C,/0B0H
	ACALL 15B1H
	CPL 0B2H
	CPL C
LB4:
	CJNE A,#0B4H,LB4
	CJNE A,0B5H,LB8
	CJNE @R0,#0B6H,LB4
	CJNE @R1,#0B7H,LB8
LB8:
	CJNE R0,#0B8H,LB8
	CJNE R1,#0B9H,LB4
	CJNE R2,#0BAH,LB8
	CJNE R3,#0BBH,LB4
	CJNE R4,#0BCH,LB8
	CJNE R5,#0BDH,LB4
	CJNE R6,#0BEH,LB8
	CJNE R7,#0BFH,LB4
	PUSH 0C0H
	AJMP 16C1H
	CLR 0C2H
	CLR C
	SWAP A
	XCH A,0C5H
	XCH A,@R0
	XCH A,@R1
	XCH A,R0
	XCH A,R1
	XCH A,R2
	XCH A,R3
	XCH A,R4
	XCH A,R5
	XCH A,R6
	XCH A,R7
	POP 0D0H
	ACALL 16D1H
	SETB 0D2H
	SETB C
	DA A
LD5:
	DJNZ 0D5H,LD5
	XCHD A,@R0
	XCHD A,@R1
	DJNZ R0,LE0
	DJNZ R1,LD5
	DJNZ R2,LE0
	DJNZ R3,LD5
	DJNZ R4,LE0
	DJNZ R5,LD5
	DJNZ R6,LE0
	DJNZ R7,LD5
LE0:
	MOVX A,@DPTR
	AJMP 17E1H
	MOVX A,@R0
	MOVX A,@R1
	CLR A
	MOV A,0E5H
	MOV A,@R0
	MOV A,@R1
	MOV A,R0
	MOV A,R1
	MOV A,R2
	MOV A,R3
	MOV A,R4
	MOV A,R5
	MOV A,R6
	MOV A,R7
	MOVX @DPTR,A
	ACALL 17F1H
	MOVX @R0,A
	MOVX @R1,A
	CPL A
	MOV 0F5H,A
	MOV @R0,A
	MOV @R1,A
	MOV R0,A
	MOV R1,A
	MOV R2,A
	MOV R3,A
	MOV R4,A
	MOV R5,A
	MOV R6,A
	MOV R7,A

; Other spellings: lower and mixed case, blanks around the operands, the
; indexed forms written the other way round, "!" for a complemented bit,
; and the number forms that both assemblers read alike.
	mov a , @r1
	Mov R7 , # 1
	jmp @dptr + a
	movc a , @a + dptr
	MOVC A,@DPTR+A
	MOVC A,@PC+A
	ANL C,!93H
	ORL C,!94H
	MOV A,#0x1F
	MOV A,#1fH
	MOV A,#377O
	MOV A,#1010B
	MOV A,#129D
	MOV A,#10+5
	MOV 0X7F,#0xAb

; Both ends of every operand range: immediate bytes -128..255, direct and
; bit addresses 0..255, immediate words -32768..65535, code addresses
; 0..65535.
	MOV A,#255
	MOV A,#80H
	MOV A,#-127
	MOV A,#-1
	MOV A,#0
	MOV 0,#80H
	MOV 255,#255
	MOV R0,#255
	MOV @R1,#-1
	ADD A,#255
	SUBB A,#-127
	MOV 0FFH,0
	MOV 0,0FFH
	MOV 0,A
	MOV A,255
	MOV R7,0
	MOV @R0,255
	ORL 255,#0
	ANL 0,#255
	XRL 0,A
	INC 255
	DEC 0
	PUSH 0
	POP 255
	XCH A,0
	XCH A,255
	SETB 0
	SETB 255
	CLR 0
	CPL 255
	MOV C,0
	MOV 255,C
	ANL C,/0
	ORL C,/255
	ANL C,255
	ORL C,0
LBITS:
	JB 0,LBITS
	JNB 255,LBITS
	JBC 255,LBITS
	CJNE A,#255,LBITS
	CJNE R3,#80H,LBITS
	CJNE A,0,LBITS
	CJNE A,255,LBITS
	DJNZ 0,LBITS
	DJNZ 255,LBITS
	MOV DPTR,#0
	MOV DPTR,#65535
	MOV DPTR,#-1
	MOV DPTR,#8000H
	MOV DPTR,#-32767
	LJMP 0
	LJMP 0FFFFH
	LCALL 0
	LCALL 65535

; Relative reach: -128 and +127 from the end of two-byte (SJMP, JC, DJNZ Rn)
; and three-byte (JB, CJNE, DJNZ direct) instructions.
RB1:
	.skip 126
	SJMP RB1
	JC RF1
	.skip 127
RF1:
RB2:
	.skip 125
	JB 20H,RB2
	CJNE A,#1,RF2
	.skip 127
RF2:
RB3:
	.skip 126
	DJNZ R7,RB3
	DJNZ 30H,RF3
	.skip 127
RF3:

; AJMP and ACALL reach the 2 KB page of the address after them, which
; for the last two bytes of a page is already the next page.
	.org 0x17FB
	AJMP 1000H		; at 17FB: lowest address of page 1000H
	ACALL 17FFH		; at 17FD: highest address of page 1000H
	AJMP 1800H		; at 17FF: the next page, lowest address
	ACALL 1FFFH		; at 1801: its highest address
	AJMP 1801H
	ACALL 1803H
