; The same program as all-opcodes.asm, for 64tass.
*	= $1000
; Every documented opcode once, in opcode order; operands differ per opcode
; so that a byte put in the wrong place shows.
here
	brk
	ora ($5b,x)
	ora $5f
	asl $5c
	php
	ora #$53
	asl a
	ora $0df2
	asl $0ef1
t10
	bpl t10
	ora ($4b),y
	ora $4f,x
	asl $4c,x
	clc
	ora $19e6,y
	ora $1de2,x
	asl $1ee1,x
	jsr $20df
	and ($7b,x)
	bit $7e
	and $7f
	rol $7c
	plp
	and #$73
	rol a
	bit $2cd3
	and $2dd2
	rol $2ed1
	bmi t30
	nop
t30
	and ($6b),y
	and $6f,x
	rol $6c,x
	sec
	and $39c6,y
	and $3dc2,x
	rol $3ec1,x
	rti
	eor ($1b,x)
	eor $1f
	lsr $1c
	pha
	eor #$13
	lsr a
	jmp $4cb3
	eor $4db2
	lsr $4eb1
t50
	bvc t50
	eor ($0b),y
	eor $0f,x
	lsr $0c,x
	cli
	eor $59a6,y
	eor $5da2,x
	lsr $5ea1,x
	rts
	adc ($3b,x)
	adc $3f
	ror $3c
	pla
	adc #$33
	ror a
	jmp ($6c93)
	adc $6d92
	ror $6e91
	bvs t70
	nop
t70
	adc ($2b),y
	adc $2f,x
	ror $2c,x
	sei
	adc $7986,y
	adc $7d82,x
	ror $7e81,x
	sta ($db,x)
	sty $de
	sta $df
	stx $dc
	dey
	txa
	sty $8c73
	sta $8d72
	stx $8e71
t90
	bcc t90
	sta ($cb),y
	sty $ce,x
	sta $cf,x
	stx $cc,y
	tya
	sta $9966,y
	txs
	sta $9d62,x
	ldy #$fa
	lda ($fb,x)
	ldx #$f8
	ldy $fe
	lda $ff
	ldx $fc
	tay
	lda #$f3
	tax
	ldy $ac53
	lda $ad52
	ldx $ae51
	bcs tb0
	nop
tb0
	lda ($eb),y
	ldy $ee,x
	lda $ef,x
	ldx $ec,y
	clv
	lda $b946,y
	tsx
	ldy $bc43,x
	lda $bd42,x
	ldx $be41,y
	cpy #$9a
	cmp ($9b,x)
	cpy $9e
	cmp $9f
	dec $9c
	iny
	cmp #$93
	dex
	cpy $cc33
	cmp $cd32
	dec $ce31
td0
	bne td0
	cmp ($8b),y
	cmp $8f,x
	dec $8c,x
	cld
	cmp $d926,y
	cmp $dd22,x
	dec $de21,x
	cpx #$ba
	sbc ($bb,x)
	cpx $be
	sbc $bf
	inc $bc
	inx
	sbc #$b3
	nop
	cpx $ec13
	sbc $ed12
	inc $ee11
	beq tf0
	nop
tf0
	sbc ($ab),y
	sbc $af,x
	inc $ac,x
	sed
	sbc $f906,y
	sbc $fd02,x
	inc $fe01,x
; Edges of the zero-page and absolute choice and of the operand ranges.
	lda #$00
	lda #$ff
	ldx #0
	ldy #255
	lda $00
	lda $ff
	lda $0100
	lda $ffff
	sta $ff,x
	sta $0100,x
	ldx $ff,y
	ldx $0100,y
	lda $ff,y
	sta ($ff),y
	sta ($00,x)
	jmp ($ffff)
	jmp $0000
	jsr $ffff
	asl
	lsr
	rol
	ror
	lda 255
	lda 256
	lda $1000 + $20,x
; Branches at both ends of their reach, -128 and +127.
back
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	lda $12
	bne back
	beq ahead
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
	nop
ahead
	bcc back2
back2
	bcs back2
