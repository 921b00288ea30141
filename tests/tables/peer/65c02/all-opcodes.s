; The same program as all-opcodes.asm, for 64tass in its WDC 65C02 mode.
*	= $1000
; Every documented opcode once, in opcode order; operands differ per opcode
; so that a byte put in the wrong place shows.
	brk
	ora ($2e,x)
	tsb $55
	ora $62
	asl $6f
	rmb 0,$7c
	php
	ora #$35
	asl a
	tsb $a957
	ora $a85e
	asl $ab65
	bbr 0,$e4,b0f
	nop
b0f
	bpl b10
	nop
b10
	ora ($fe),y
	ora ($0b)
	trb $25
	ora $32,x
	asl $3f,x
	rmb 1,$4c
	clc
	ora $bcb2,y
	inc a
	trb $b9c7
	ora $b8ce,x
	asl $bbd5,x
b1f
	bbr 1,$b4,b1f
	jsr $85e3
	and ($ce,x)
	bit $f5
	and $02
	rol $0f
	rmb 2,$1c
	plp
	and #$15
	rol a
	bit $8937
	and $883e
	rol $8b45
	bbr 2,$84,b2f
	nop
b2f
b30
	bmi b30
	and ($9e),y
	and ($ab)
	bit $c5,x
	and $d2,x
	rol $df,x
	rmb 3,$ec
	sec
	and $9c92,y
	dec a
	bit $99a7,x
	and $98ae,x
	rol $9bb5,x
b3f
	bbr 3,$54,b3f
	rti
	eor ($6e,x)
	eor $a2
	lsr $af
	rmb 4,$bc
	pha
	eor #$75
	lsr a
	jmp $e917
	eor $e81e
	lsr $eb25
	bbr 4,$24,b4f
	nop
b4f
	bvc b50
	nop
b50
	eor ($3e),y
	eor ($4b)
	eor $72,x
	lsr $7f,x
	rmb 5,$8c
	cli
	eor $fc72,y
	phy
	eor $f88e,x
	lsr $fb95,x
b5f
	bbr 5,$f4,b5f
	rts
	adc ($0e,x)
	stz $35
	adc $42
	ror $4f
	rmb 6,$5c
	pla
	adc #$55
	ror a
	jmp ($c9f7)
	adc $c8fe
	ror $cb05
	bbr 6,$c4,b6f
	nop
b6f
b70
	bvs b70
	adc ($de),y
	adc ($eb)
	stz $05,x
	adc $12,x
	ror $1f,x
	rmb 7,$2c
	sei
	adc $dc52,y
	ply
	jmp ($d967,x)
	adc $d86e,x
	ror $db75,x
b7f
	bbr 7,$94,b7f
	bra b80
	nop
b80
	sta ($ae,x)
	sty $d5
	sta $e2
	stx $ef
	smb 0,$fc
	dey
	bit #$b5
	txa
	sty $29d7
	sta $28de
	stx $2be5
	bbs 0,$64,b8f
	nop
b8f
	bcc b90
	nop
b90
	sta ($7e),y
	sta ($8b)
	sty $a5,x
	sta $b2,x
	stx $bf,y
	smb 1,$cc
	tya
	sta $3c32,y
	txs
	stz $3947
	sta $384e,x
	stz $3b55,x
b9f
	bbs 1,$34,b9f
	ldy #$9c
	lda ($4e,x)
	ldx #$9e
	ldy $75
	lda $82
	ldx $8f
	smb 2,$9c
	tay
	lda #$95
	tax
	ldy $09b7
	lda $08be
	ldx $0bc5
	bbs 2,$04,baf
	nop
baf
bb0
	bcs bb0
	lda ($1e),y
	lda ($2b)
	ldy $45,x
	lda $52,x
	ldx $5f,y
	smb 3,$6c
	clv
	lda $1c12,y
	tsx
	ldy $1927,x
	lda $182e,x
	ldx $1b35,y
bbf
	bbs 3,$d4,bbf
	cpy #$fc
	cmp ($ee,x)
	cpy $15
	cmp $22
	dec $2f
	smb 4,$3c
	iny
	cmp #$f5
	dex
	wai
	cpy $6997
	cmp $689e
	dec $6ba5
	bbs 4,$a4,bcf
	nop
bcf
	bne bd0
	nop
bd0
	cmp ($be),y
	cmp ($cb)
	cmp $f2,x
	dec $ff,x
	smb 5,$0c
	cld
	cmp $7cf2,y
	phx
	stp
	cmp $780e,x
	dec $7b15,x
bdf
	bbs 5,$74,bdf
	cpx #$dc
	sbc ($8e,x)
	cpx $b5
	sbc $c2
	inc $cf
	smb 6,$dc
	inx
	sbc #$d5
	nop
	cpx $4977
	sbc $487e
	inc $4b85
	bbs 6,$44,bef
	nop
bef
bf0
	beq bf0
	sbc ($5e),y
	sbc ($6b)
	sbc $92,x
	inc $9f,x
	smb 7,$ac
	sed
	sbc $5cd2,y
	plx
	sbc $58ee,x
	inc $5bf5,x
bff
	bbs 7,$14,bff
; Edges of the operand ranges and of the zero-page and absolute choice.
	lda #$00
	lda #$ff
	lda #-128
	lda #-1
	bit #$00
	bit #$ff
	bit #-128
	ldx #0
	ldy #255
	cpx #-128
	cpy #255
	lda $00
	lda $ff
	lda $0100
	lda $ffff
	lda $ff,x
	lda $0100,x
	lda $ffff,x
	lda $ff,y
	lda $0100,y
	ldx $ff,y
	ldx $0100,y
	stx $ff,y
	ldy $ff,x
	ldy $0100,x
	lda ($00)
	lda ($ff)
	sta ($00)
	sta ($ff)
	lda ($00,x)
	lda ($ff,x)
	lda ($00),y
	lda ($ff),y
	stz $00
	stz $ff
	stz $0100
	stz $ffff
	stz $00,x
	stz $ff,x
	stz $0100,x
	stz $ffff,x
	bit $00
	bit $ff
	bit $0100
	bit $ffff
	bit $ff,x
	bit $0100,x
	bit $ffff,x
	tsb $00
	tsb $ff
	tsb $0100
	tsb $ffff
	trb $00
	trb $ff
	trb $0100
	trb $ffff
	inc $ff
	inc $0100
	inc $ff,x
	inc $0100,x
	dec $ff
	dec $0100
	dec $ff,x
	dec $0100,x
	asl $ff,x
	asl $0100,x
	jmp ($0000,x)
	jmp ($00ff,x)
	jmp ($ffff,x)
	jmp ($12)
	jmp ($ffff)
	jmp $0000
	jsr $ffff
	rmb 0,$00
	rmb 7,$ff
	smb 0,$ff
	smb 7,$00
	inc a
	dec a
	asl
	asl a
	lsr
	rol
	ror
	stz 255
	stz 256
	lda $1000 + $20,x
	rmb 2 * 3,$40 + 1
	lda ($20 + 2)
; Names defined only further down: the first pass takes the short form, and
; a later pass the long form wherever the value turns out above 255.
	lda fwdzp
	stz fwdzp
	stz fwdzp,x
	stz fwdabs
	stz fwdabs,x
	bit fwdzp,x
	bit fwdabs,x
	tsb fwdabs
	lda (fwdzp)
	jmp (fwdabs,x)
	smb 5,fwdzp
	bbs 1,fwdzp,fwdend
	bbr 6,fwdzp,fwdend
fwdend
	bbr 0,$10,next
next
; Branches at both ends of their reach, -128 and +127: two-byte branches
; from the end of two bytes, BBR and BBS from the end of three; the NOP
; bytes between them are written as data.
back
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	bra back
	bra ahead
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
ahead
back3
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	bbr 0,$00,back3
	bbs 7,$ff,ahead3
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
ahead3
back4
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	bbs 3,$80,back4
	bbr 4,$7f,ahead4
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
ahead4
	beq ahead5
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
ahead5
back5
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	.byte $ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea,$ea
	bne back5
; The bit instructions again: all-opcodes.asm writes these with the bit
; number in the mnemonic (rmb0 $00), 64tass only as the first operand.
	rmb 0,$00
	rmb 1,$ff
	rmb 2,$12
	rmb 3,$80
	rmb 4,$00
	rmb 5,$ff
	rmb 6,$12
	rmb 7,$80
	smb 0,$00
	smb 1,$ff
	smb 2,$12
	smb 3,$80
	smb 4,$00
	smb 5,$ff
	smb 6,$12
	smb 7,$80
fbbr0
	bbr 0,$00,fbbr0
fbbr1
	bbr 1,$ff,fbbr1
fbbr2
	bbr 2,$12,fbbr2
fbbr3
	bbr 3,$80,fbbr3
fbbr4
	bbr 4,$00,fbbr4
fbbr5
	bbr 5,$ff,fbbr5
fbbr6
	bbr 6,$12,fbbr6
fbbr7
	bbr 7,$80,fbbr7
fbbs0
	bbs 0,$00,fbbs0
fbbs1
	bbs 1,$ff,fbbs1
fbbs2
	bbs 2,$12,fbbs2
fbbs3
	bbs 3,$80,fbbs3
fbbs4
	bbs 4,$00,fbbs4
fbbs5
	bbs 5,$ff,fbbs5
fbbs6
	bbs 6,$12,fbbs6
fbbs7
	bbs 7,$80,fbbs7
fwdzp	= $34
fwdabs	= $1234
