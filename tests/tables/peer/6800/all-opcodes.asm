; Peer source: assembled here with the 6800 table, and the same program by
; dasm (all-opcodes.dasm) and crasm (all-opcodes.crasm); the binaries must agree.
	CPU "6800.tbl"
	HOF "BIN8"
	ORG $1000
; Every opcode once, in opcode order; operands differ per opcode so that a
; byte put in the wrong place shows.
	NOP
	TAP
	TPA
	INX
	DEX
	CLV
	SEV
	CLC
	SEC
	CLI
	SEI
	SBA
	CBA
	TAB
	TBA
	DAA
	ABA
	BRA T20
	NOP
T20
T22
	BHI T22
	BLS T23
	NOP
T23
T24
	BHS T24
	BLO T25
	NOP
T25
T26
	BNE T26
	BEQ T27
	NOP
T27
T28
	BVC T28
	BVS T29
	NOP
T29
T2A
	BPL T2A
	BMI T2B
	NOP
T2B
T2C
	BGE T2C
	BLT T2D
	NOP
T2D
T2E
	BGT T2E
	BLE T2F
	NOP
T2F
	TSX
	INS
	PULA
	PULB
	DES
	TXS
	PSHA
	PSHB
	RTS
	RTI
	WAI
	SWI
	NEGA
	COMA
	LSRA
	RORA
	ASRA
	LSLA
	ROLA
	DECA
	INCA
	TSTA
	CLRA
	NEGB
	COMB
	LSRB
	RORB
	ASRB
	LSLB
	ROLB
	DECB
	INCB
	TSTB
	CLRB
	NEG $F3,X
	COM $02,X
	LSR $07,X
	ROR $11,X
	ASR $16,X
	LSL $1B,X
	ROL $20,X
	DEC $25,X
	INC $2F,X
	TST $34,X
	JMP $39,X
	CLR $3E,X
	NEG $EDC7
	COM $F39A
	LSR $F58B
	ROR $F96D
	ASR $FB5E
	ASL $FD4F
	ROL $FF40
	DEC $0131
	INC $0513
	TST $0704
	JMP $07F5
	CLR $09E6
	SUBA #$A1
	CMPA #$A8
	SBCA #$AF
	ANDA #$BD
	BITA #$C4
	LDAA #$CB
	EORA #$D9
	ADCA #$E0
	ORAA #$E7
	ADDA #$EE
	CPX #$2323
	BSR T8D
	NOP
T8D
	LDS #$2705
	SUBA $11
	CMPA $18
	SBCA $1F
	ANDA $2D
	BITA $34
	LDAA $3B
	STAA $42
	EORA $49
	ADCA $50
	ORAA $57
	ADDA $5E
	CPX $65
	LDS $73
	STS $7A
	SUBA $33,X
	CMPA $38,X
	SBCA $3D,X
	ANDA $47,X
	BITA $4C,X
	LDAA $51,X
	STAA $56,X
	EORA $5B,X
	ADCA $60,X
	ORAA $65,X
	ADDA $6A,X
	CPX $6F,X
	JSR $74,X
	LDS $79,X
	STS $7E,X
	SUBA $6907
	CMPA $6BF8
	SBCA $6DE9
	ANDA $71CB
	BITA $73BC
	LDAA $75AD
	STAA $779E
	EORA $798F
	ADCA $7B80
	ORAA $7D71
	ADDA $7F62
	CPX $8153
	JSR $8344
	LDS $8535
	STS $8726
	SUBB #$61
	CMPB #$68
	SBCB #$6F
	ANDB #$7D
	BITB #$84
	LDAB #$8B
	EORB #$99
	ADCB #$A0
	ORAB #$A7
	ADDB #$AE
	LDX #$A345
	SUBB $D1
	CMPB $D8
	SBCB $DF
	ANDB $ED
	BITB $F4
	LDAB $FB
	STAB $02
	EORB $09
	ADCB $10
	ORAB $17
	ADDB $1E
	LDX $33
	STX $3A
	SUBB $73,X
	CMPB $78,X
	SBCB $7D,X
	ANDB $87,X
	BITB $8C,X
	LDAB $91,X
	STAB $96,X
	EORB $9B,X
	ADCB $A0,X
	ORAB $A5,X
	ADDB $AA,X
	LDX $B9,X
	STX $BE,X
	SUBB $E547
	CMPB $E738
	SBCB $E929
	ANDB $ED0B
	BITB $EFFC
	LDAB $F1ED
	STAB $F3DE
	EORB $F5CF
	ADCB $F7C0
	ORAB $F9B1
	ADDB $FBA2
	LDX $0175
	STX $0366
;
; Direct and extended on either side of their boundary.
	LDAA $00	; direct, the lowest
	LDAB $FF	; direct, the highest
	ADDA $0100	; extended, the lowest
	STAB $FFFF	; extended, the highest
	LDX 0
	STX 255
	LDS 256
	STS 65535
	CPX $FF
	CPX $100
; No direct form: the read-modify-write group and JMP are extended in page zero.
	CLR $00
	INC $FF
	JMP $FF
; The 6800 has no direct JSR: extended in page zero too. crasm takes the
; 6801's direct opcode here, so its source spells the bytes out.
	JSR $00
	JSR $FF
	JSR $0100
; Indexed offsets at both ends; ,X is 0,X.
	LDAA ,X
	LDAB 0,X
	STAA 255,X
	CLR ,X
	NEG 255,X
	JMP ,X
	JSR 255,X
	LDX 0,X
	STS 255,X
; Immediates at both ends, signed and unsigned.
	LDAA #-128
	LDAB #255
	ORAA #0
	ANDB #-1
	LDX #-32768
	LDS #65535
	CPX #0
	LDX #-1
; Branches at both ends of their reach: offsets 127 and -128.
	BRA $+129
	BEQ $-126
	BSR $+129
	BSR $-126
; The same to labels, back over 126 bytes of code and ahead over 127.
BACK
	LDAA $2000
	LDAA $2111
	LDAA $2222
	LDAA $2333
	LDAA $2444
	LDAA $2555
	LDAA $2666
	LDAA $2777
	LDAA $2888
	LDAA $2999
	LDAA $2AAA
	LDAA $2BBB
	LDAA $2CCC
	LDAA $2DDD
	LDAA $2EEE
	LDAA $2FFF
	LDAA $3110
	LDAA $3221
	LDAA $3332
	LDAA $3443
	LDAA $3554
	LDAA $3665
	LDAA $3776
	LDAA $3887
	LDAA $3998
	LDAA $3AA9
	LDAA $3BBA
	LDAA $3CCB
	LDAA $3DDC
	LDAA $3EED
	LDAA $3FFE
	LDAA $410F
	LDAA $4220
	LDAA $4331
	LDAA $4442
	LDAA $4553
	LDAA $4664
	LDAA $4775
	LDAA $4886
	LDAA $4997
	LDAA $4AA8
	LDAA $4BB9
	BNE BACK	; offset -128
	BCC AHEAD	; offset 127
	STAA $3000
	STAA $3107
	STAA $320E
	STAA $3315
	STAA $341C
	STAA $3523
	STAA $362A
	STAA $3731
	STAA $3838
	STAA $393F
	STAA $3A46
	STAA $3B4D
	STAA $3C54
	STAA $3D5B
	STAA $3E62
	STAA $3F69
	STAA $4070
	STAA $4177
	STAA $427E
	STAA $4385
	STAA $448C
	STAA $4593
	STAA $469A
	STAA $47A1
	STAA $48A8
	STAA $49AF
	STAA $4AB6
	STAA $4BBD
	STAA $4CC4
	STAA $4DCB
	STAA $4ED2
	STAA $4FD9
	STAA $50E0
	STAA $51E7
	STAA $52EE
	STAA $53F5
	STAA $54FC
	STAA $5603
	STAA $570A
	STAA $5811
	STAA $5918
	STAA $5A1F
	NOP
AHEAD
; Forward names: one in page zero stays direct; one above it is taken
; direct in the first pass and extended from the second, which moves the
; label after it; the branch over both settles in a later pass.
	BRA OVER
	LDAA FWDZ
	LDAB FWDE
	STAA FWDZ,X
	LDX #OVER
OVER
	JMP OVER
	TAB	; the instruction, not the directive
FWDZ	EQU $42
FWDE	EQU $4321
