; Peer source: assembled here with the 6805 table, and the same program
; by dasm (all-opcodes.dasm); the two binaries must agree.
	CPU "6805.tbl"
	HOF "BIN8"
	ORG $1000
; Every mnemonic in every addressing mode; operands differ from line to
; line so that a byte put in the wrong place shows.
; Inherent instructions, on the accumulator and the index register.
	RTI
	RTS
	SWI
	TAX
	CLC
	SEC
	CLI
	SEI
	RSP
	NOP
	TXA
	NEGA
	NEGX
	COMA
	COMX
	LSRA
	LSRX
	RORA
	RORX
	ASRA
	ASRX
	ASLA
	ASLX
	LSLA
	LSLX
	ROLA
	ROLX
	DECA
	DECX
	INCA
	INCX
	TSTA
	TSTX
	CLRA
	CLRX
; The later CMOS parts add MUL, STOP and WAIT, which dasm does not know for
; this processor: its source gives their opcodes as data.
	MUL
	STOP
	WAIT
; Register/memory instructions: immediate, direct, extended, indexed with
; a 16-bit, an 8-bit and no offset (written as ",X" and as "0,X").
	SUB	#$A0
	SUB	$42
	SUB	$BEE5
	SUB	$5CC8,X
	SUB	204,X
	SUB	,X
	SUB	0,X
	CMP	#$B1
	CMP	$F2
	CMP	$D86D
	CMP	$BE69,X
	CMP	167,X
	CMP	,X
	CMP	0,X
	SBC	#$ED
	SBC	$88
	SBC	$086C
	SBC	$D821,X
	SBC	120,X
	SBC	,X
	SBC	0,X
	CPX	#$C7
	CPX	$F2
	CPX	$40C1
	CPX	$A723,X
	CPX	14,X
	CPX	,X
	CPX	0,X
	AND	#$E7
	AND	$29
	AND	$1DFB
	AND	$602D,X
	AND	121,X
	AND	,X
	AND	0,X
	BIT	#$DF
	BIT	$40
	BIT	$6279
	BIT	$8C33,X
	BIT	27,X
	BIT	,X
	BIT	0,X
	LDA	#$93
	LDA	$40
	LDA	$045B
	LDA	$BC2E,X
	LDA	56,X
	LDA	,X
	LDA	0,X
	EOR	#$69
	EOR	$48
	EOR	$2F9C
	EOR	$EB95,X
	EOR	223,X
	EOR	,X
	EOR	0,X
	ADC	#$C5
	ADC	$64
	ADC	$29DB
	ADC	$C40D,X
	ADC	205,X
	ADC	,X
	ADC	0,X
	ORA	#$13
	ORA	$24
	ORA	$9F30
	ORA	$9F11,X
	ORA	114,X
	ORA	,X
	ORA	0,X
	ADD	#$21
	ADD	$22
	ADD	$0174
	ADD	$F9EB,X
	ADD	224,X
	ADD	,X
	ADD	0,X
	LDX	#$02
	LDX	$36
	LDX	$C70A
	LDX	$3829,X
	LDX	246,X
	LDX	,X
	LDX	0,X
	STA	$FC
	STA	$2B75
	STA	$E056,X
	STA	43,X
	STA	,X
	STA	0,X
	JMP	$4B
	JMP	$514B
	JMP	$F723,X
	JMP	51,X
	JMP	,X
	JMP	0,X
	JSR	$8B
	JSR	$E149
	JSR	$AE86,X
	JSR	161,X
	JSR	,X
	JSR	0,X
	STX	$35
	STX	$2F81
	STX	$F1E3,X
	STX	248,X
	STX	,X
	STX	0,X
; Read-modify-write on memory: direct and indexed with an 8-bit and no
; offset.
	NEG	$B1
	NEG	51,X
	NEG	,X
	NEG	0,X
	COM	$F8
	COM	248,X
	COM	,X
	COM	0,X
	LSR	$E5
	LSR	99,X
	LSR	,X
	LSR	0,X
	ROR	$4D
	ROR	6,X
	ROR	,X
	ROR	0,X
	ASR	$5D
	ASR	107,X
	ASR	,X
	ASR	0,X
	ASL	$2B
	ASL	240,X
	ASL	,X
	ASL	0,X
	LSL	$26
	LSL	68,X
	LSL	,X
	LSL	0,X
	ROL	$11
	ROL	85,X
	ROL	,X
	ROL	0,X
	DEC	$4E
	DEC	210,X
	DEC	,X
	DEC	0,X
	INC	$9B
	INC	151,X
	INC	,X
	INC	0,X
	TST	$01
	TST	153,X
	TST	,X
	TST	0,X
	CLR	$AE
	CLR	182,X
	CLR	,X
	CLR	0,X
; Bit set and clear, every bit.
	BSET	0,$57
	BCLR	0,$11
	BSET	1,$50
	BCLR	1,$5B
	BSET	2,$D2
	BCLR	2,$4F
	BSET	3,$7C
	BCLR	3,$B3
	BSET	4,$51
	BCLR	4,$30
	BSET	5,$7C
	BCLR	5,$79
	BSET	6,$B5
	BCLR	6,$2E
	BSET	7,$0F
	BCLR	7,$42
; Bit test and branch, every bit, backwards and forwards.
B1
	BRSET	0,$FA,B1
	BRSET	0,$F1,F1
F1
B2
	BRCLR	0,$06,B2
	BRCLR	0,$F4,F2
F2
B3
	BRSET	1,$C0,B3
	BRSET	1,$5C,F3
F3
B4
	BRCLR	1,$D9,B4
	BRCLR	1,$68,F4
F4
B5
	BRSET	2,$05,B5
	BRSET	2,$8D,F5
F5
B6
	BRCLR	2,$CA,B6
	BRCLR	2,$6C,F6
F6
B7
	BRSET	3,$5E,B7
	BRSET	3,$61,F7
F7
B8
	BRCLR	3,$95,B8
	BRCLR	3,$D8,F8
F8
B9
	BRSET	4,$03,B9
	BRSET	4,$74,F9
F9
B10
	BRCLR	4,$0C,B10
	BRCLR	4,$B6,F10
F10
B11
	BRSET	5,$2F,B11
	BRSET	5,$A0,F11
F11
B12
	BRCLR	5,$F5,B12
	BRCLR	5,$F5,F12
F12
B13
	BRSET	6,$33,B13
	BRSET	6,$1F,F13
F13
B14
	BRCLR	6,$C2,B14
	BRCLR	6,$3F,F14
F14
B15
	BRSET	7,$EE,B15
	BRSET	7,$D2,F15
F15
B16
	BRCLR	7,$F2,B16
	BRCLR	7,$77,F16
F16
; Relative branches, backwards and forwards.
B17
	BRA	B17
	BRA	F17
F17
B18
	BRN	B18
	BRN	F18
F18
B19
	BHI	B19
	BHI	F19
F19
B20
	BLS	B20
	BLS	F20
F20
B21
	BCC	B21
	BCC	F21
F21
B22
	BHS	B22
	BHS	F22
F22
B23
	BCS	B23
	BCS	F23
F23
B24
	BLO	B24
	BLO	F24
F24
B25
	BNE	B25
	BNE	F25
F25
B26
	BEQ	B26
	BEQ	F26
F26
B27
	BHCC	B27
	BHCC	F27
F27
B28
	BHCS	B28
	BHCS	F28
F28
B29
	BPL	B29
	BPL	F29
F29
B30
	BMI	B30
	BMI	F30
F30
B31
	BMC	B31
	BMC	F31
F31
B32
	BMS	B32
	BMS	F32
F32
B33
	BIL	B33
	BIL	F33
F33
B34
	BIH	B34
	BIH	F34
F34
B35
	BSR	B35
	BSR	F35
F35
; Ranges: immediates at both ends, signed and unsigned.
	LDA	#-128
	LDA	#0
	LDA	#255
	LDA	#$FF
; The last direct address and the first extended one; both ends of memory.
	LDA	$00
	LDA	255
	LDA	256
	LDA	$FFFF
	STX	$00
	STX	255
	STX	256
	STX	$FFFF
	JSR	$00
	JSR	255
	JSR	256
	JSR	$FFFF
	INC	0
	INC	$FF
	CLR	0
	CLR	$FF
; Index offsets: 0, 1, 255 and 256 (the first 16-bit offset), 65535.
	LDA	0,X
	LDA	1,X
	LDA	255,X
	LDA	256,X
	LDA	$FFFF,X
	STA	0,X
	STA	1,X
	STA	255,X
	STA	256,X
	STA	$FFFF,X
	JMP	0,X
	JMP	1,X
	JMP	255,X
	JMP	256,X
	JMP	$FFFF,X
	NEG	0,X
	NEG	1,X
	NEG	$FF,X
	TST	0,X
	TST	1,X
	TST	$FF,X
; Bit instructions at both ends of the direct page.
BRTOP
	BSET	0,0
	BCLR	7,$FF
	BRSET	0,0,BRTOP
	BRCLR	7,255,BRTOP
; Names defined further on: a page-zero constant takes the direct form, a
; code address the extended form, an offset of 0 the form without offset,
; once the passes have settled.
	LDA	FWDZP
	LDA	FWDEXT
	JSR	FWDZP
	JSR	FWDEXT
	STX	FWDZP
	STX	FWDEXT
	LDA	FWDNUL,X
	LDA	FWDZP,X
	INC	FWDNUL,X
	INC	FWDZP,X
	LDA	FWDEXT,X
	BSET	FWDBIT,FWDZP
FWDB
	BRCLR	FWDBIT,FWDZP,FWDB
; Branches at both ends of their reach: -128 and +127 from the end of the
; instruction, for the two-byte branch and the three-byte bit branch.
BACK1
	DFB $0B,$30,$55,$7A,$9F,$C4,$E9,$0E,$33,$58,$7D,$A2,$C7,$EC,$11,$36
	DFB $5B,$80,$A5,$CA,$EF,$14,$39,$5E,$83,$A8,$CD,$F2,$17,$3C,$61,$86
	DFB $AB,$D0,$F5,$1A,$3F,$64,$89,$AE,$D3,$F8,$1D,$42,$67,$8C,$B1,$D6
	DFB $FB,$20,$45,$6A,$8F,$B4,$D9,$FE,$23,$48,$6D,$92,$B7,$DC,$01,$26
	DFB $4B,$70,$95,$BA,$DF,$04,$29,$4E,$73,$98,$BD,$E2,$07,$2C,$51,$76
	DFB $9B,$C0,$E5,$0A,$2F,$54,$79,$9E,$C3,$E8,$0D,$32,$57,$7C,$A1,$C6
	DFB $EB,$10,$35,$5A,$7F,$A4,$C9,$EE,$13,$38,$5D,$82,$A7,$CC,$F1,$16
	DFB $3B,$60,$85,$AA,$CF,$F4,$19,$3E,$63,$88,$AD,$D2,$F7,$1C
	BRA	BACK1
	BNE	AHEAD1
	DFB $0B,$30,$55,$7A,$9F,$C4,$E9,$0E,$33,$58,$7D,$A2,$C7,$EC,$11,$36
	DFB $5B,$80,$A5,$CA,$EF,$14,$39,$5E,$83,$A8,$CD,$F2,$17,$3C,$61,$86
	DFB $AB,$D0,$F5,$1A,$3F,$64,$89,$AE,$D3,$F8,$1D,$42,$67,$8C,$B1,$D6
	DFB $FB,$20,$45,$6A,$8F,$B4,$D9,$FE,$23,$48,$6D,$92,$B7,$DC,$01,$26
	DFB $4B,$70,$95,$BA,$DF,$04,$29,$4E,$73,$98,$BD,$E2,$07,$2C,$51,$76
	DFB $9B,$C0,$E5,$0A,$2F,$54,$79,$9E,$C3,$E8,$0D,$32,$57,$7C,$A1,$C6
	DFB $EB,$10,$35,$5A,$7F,$A4,$C9,$EE,$13,$38,$5D,$82,$A7,$CC,$F1,$16
	DFB $3B,$60,$85,$AA,$CF,$F4,$19,$3E,$63,$88,$AD,$D2,$F7,$1C,$41
AHEAD1
BACK2
	DFB $0B,$30,$55,$7A,$9F,$C4,$E9,$0E,$33,$58,$7D,$A2,$C7,$EC,$11,$36
	DFB $5B,$80,$A5,$CA,$EF,$14,$39,$5E,$83,$A8,$CD,$F2,$17,$3C,$61,$86
	DFB $AB,$D0,$F5,$1A,$3F,$64,$89,$AE,$D3,$F8,$1D,$42,$67,$8C,$B1,$D6
	DFB $FB,$20,$45,$6A,$8F,$B4,$D9,$FE,$23,$48,$6D,$92,$B7,$DC,$01,$26
	DFB $4B,$70,$95,$BA,$DF,$04,$29,$4E,$73,$98,$BD,$E2,$07,$2C,$51,$76
	DFB $9B,$C0,$E5,$0A,$2F,$54,$79,$9E,$C3,$E8,$0D,$32,$57,$7C,$A1,$C6
	DFB $EB,$10,$35,$5A,$7F,$A4,$C9,$EE,$13,$38,$5D,$82,$A7,$CC,$F1,$16
	DFB $3B,$60,$85,$AA,$CF,$F4,$19,$3E,$63,$88,$AD,$D2,$F7
	BRSET	3,$12,BACK2
	BRCLR	4,$34,AHEAD2
	DFB $0B,$30,$55,$7A,$9F,$C4,$E9,$0E,$33,$58,$7D,$A2,$C7,$EC,$11,$36
	DFB $5B,$80,$A5,$CA,$EF,$14,$39,$5E,$83,$A8,$CD,$F2,$17,$3C,$61,$86
	DFB $AB,$D0,$F5,$1A,$3F,$64,$89,$AE,$D3,$F8,$1D,$42,$67,$8C,$B1,$D6
	DFB $FB,$20,$45,$6A,$8F,$B4,$D9,$FE,$23,$48,$6D,$92,$B7,$DC,$01,$26
	DFB $4B,$70,$95,$BA,$DF,$04,$29,$4E,$73,$98,$BD,$E2,$07,$2C,$51,$76
	DFB $9B,$C0,$E5,$0A,$2F,$54,$79,$9E,$C3,$E8,$0D,$32,$57,$7C,$A1,$C6
	DFB $EB,$10,$35,$5A,$7F,$A4,$C9,$EE,$13,$38,$5D,$82,$A7,$CC,$F1,$16
	DFB $3B,$60,$85,$AA,$CF,$F4,$19,$3E,$63,$88,$AD,$D2,$F7,$1C,$41
AHEAD2
FWDEXT
	RTS
FWDZP	EQU $C3
FWDNUL	EQU 0
FWDBIT	EQU 5
	END
