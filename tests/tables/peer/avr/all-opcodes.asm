; Every AVR opcode of the classic core in every addressing mode, with both
; ends of every range: registers R0 and R31, constants -128 and 255, ports,
; bit numbers, displacements 0 and 63, branch and jump reach forward and back,
; and names defined further on. Assembled here with the AVR table, and the
; same program by avra (all-opcodes.s); the binaries must agree.
	CPU "avr.tbl"
	HOF "BIN8"
	WDLN 2
	ORG 800H
BACK:	nop
; Two-register operations; every register on both sides somewhere.
	cpc r0, r31
	cpc r31, r3
	sbc r1, r30
	sbc r30, r10
	add r2, r29
	add r29, r17
	cpse r3, r28
	cpse r28, r24
	cp r4, r27
	cp r27, r31
	sub r5, r26
	sub r26, r6
	adc r6, r25
	adc r25, r13
	and r7, r24
	and r24, r20
	eor r8, r23
	eor r23, r27
	or r9, r22
	or r22, r2
	mov r10, r21
	mov r21, r9
	mul r11, r20
	mul r20, r16
	mov r0, r5
	mov r1, r18
	mov r2, r31
	mov r3, r12
	mov r4, r25
	mov r5, r6
	mov r6, r19
	mov r7, r0
	mov r8, r13
	mov r9, r26
	mov r10, r7
	mov r11, r20
	mov r12, r1
	mov r13, r14
	mov r14, r27
	mov r15, r8
	mov r16, r21
	mov r17, r2
	mov r18, r15
	mov r19, r28
	mov r20, r9
	mov r21, r22
	mov r22, r3
	mov r23, r16
	mov r24, r29
	mov r25, r10
	mov r26, r23
	mov r27, r4
	mov r28, r17
	mov r29, r30
	mov r30, r11
	mov r31, r24
	movw r0, r30
	movw r30, r0
	movw r14, r16
	movw r1:r0, r31:r30
	movw r3:r2, r29:r28
	movw r5:r4, r27:r26
	movw r7:r6, r25:r24
	movw r9:r8, r23:r22
	movw r11:r10, r21:r20
	movw r13:r12, r19:r18
	movw r15:r14, r17:r16
	movw r17:r16, r15:r14
	movw r19:r18, r13:r12
	movw r21:r20, r11:r10
	movw r23:r22, r9:r8
	movw r25:r24, r7:r6
	movw r27:r26, r5:r4
	movw r29:r28, r3:r2
	movw r31:r30, r1:r0
	movw r2, r21:r20
	movw r29:r28, r6
	muls r16, r31
	muls r31, r16
	muls r20, r25
	mulsu r16, r23
	mulsu r23, r16
	mulsu r19, r21
	fmul r16, r23
	fmul r23, r16
	fmul r19, r21
	fmuls r16, r23
	fmuls r23, r16
	fmuls r19, r21
	fmulsu r16, r23
	fmulsu r23, r16
	fmulsu r19, r21
; Register and constant: -128 and 255 at the ends, R16 and R31.
	cpi r16, 255
	cpi r31, -128
	cpi r17, 0x12
	cpi r24, 0
	sbci r16, 255
	sbci r31, -128
	sbci r18, 0x23
	sbci r25, 0
	subi r16, 255
	subi r31, -128
	subi r19, 0x34
	subi r26, 0
	ori r16, 255
	ori r31, -128
	ori r20, 0x45
	ori r27, 0
	sbr r16, 255
	sbr r31, -128
	sbr r21, 0x56
	sbr r28, 0
	andi r16, 255
	andi r31, -128
	andi r22, 0x67
	andi r29, 0
	cbr r16, 255
	cbr r31, -128
	cbr r23, 0x78
	cbr r30, 0
	ldi r16, 255
	ldi r31, -128
	ldi r24, 0x89
	ldi r31, 0
	ser r16
	ser r31
	ser r23
	adiw r24, 0
	adiw r26, 63
	adiw r28, 21
	adiw r30, 42
	adiw r25:r24, 63
	adiw r27:r26, 0
	adiw r29:r28, 42
	adiw r31:r30, 21
	sbiw r24, 0
	sbiw r26, 63
	sbiw r28, 21
	sbiw r30, 42
	sbiw r25:r24, 63
	sbiw r27:r26, 0
	sbiw r29:r28, 42
	sbiw r31:r30, 21
; One register.
	com r0
	com r31
	com r2
	neg r0
	neg r31
	neg r7
	swap r0
	swap r31
	swap r12
	inc r0
	inc r31
	inc r17
	asr r0
	asr r31
	asr r22
	lsr r0
	lsr r31
	lsr r27
	ror r0
	ror r31
	ror r2
	dec r0
	dec r31
	dec r7
	pop r0
	pop r31
	pop r12
	push r0
	push r31
	push r17
	tst r0
	tst r31
	tst r22
	clr r0
	clr r31
	clr r27
	lsl r0
	lsl r31
	lsl r2
	rol r0
	rol r31
	rol r7
; Data memory through X, Y and Z.
	ld r0, X
	ld r31, X
	st X, r9
	st X, r22
	ld r1, X+
	ld r30, X+
	st X+, r10
	st X+, r21
	ld r2, -X
	ld r29, -X
	st -X, r11
	st -X, r20
	ld r3, Y
	ld r28, Y
	st Y, r12
	st Y, r19
	ld r4, Y+
	ld r27, Y+
	st Y+, r13
	st Y+, r18
	ld r5, -Y
	ld r26, -Y
	st -Y, r14
	st -Y, r17
	ld r6, Z
	ld r25, Z
	st Z, r15
	st Z, r16
	ld r7, Z+
	ld r24, Z+
	st Z+, r16
	st Z+, r15
	ld r8, -Z
	ld r23, -Z
	st -Z, r17
	st -Z, r14
	ldd r0, Y+0
	std Y+0, r31
	ldd r31, Y+63
	std Y+63, r0
	ldd r17, Y+1
	std Y+1, r14
	ldd r8, Y+32
	std Y+32, r23
	ldd r3, Y+8
	std Y+8, r28
	ldd r12, Y+62
	std Y+62, r19
	ldd r0, Z+0
	std Z+0, r31
	ldd r31, Z+63
	std Z+63, r0
	ldd r17, Z+1
	std Z+1, r14
	ldd r8, Z+32
	std Z+32, r23
	ldd r3, Z+8
	std Z+8, r28
	ldd r12, Z+62
	std Z+62, r19
	lds r0, 0
	lds r31, 0xffff
	lds r17, 0x1234
	sts 0, r31
	sts 0xffff, r0
	sts 0x89ab, r18
	lpm
	lpm r0, Z
	lpm r31, Z
	lpm r5, Z+
	lpm r30, Z+
	spm
; I/O ports: 0..63 for IN and OUT, 0..31 and bits 0..7 for the bit forms.
	in r0, 0
	in r31, 63
	in r21, 0x2d
	in r10, 0x12
	out 0, r31
	out 63, r0
	out 0x1e, r9
	out 0x21, r22
	cbi 0, 7
	cbi 31, 0
	cbi 17, 3
	sbic 0, 7
	sbic 31, 0
	sbic 18, 4
	sbi 0, 7
	sbi 31, 0
	sbi 19, 5
	sbis 0, 7
	sbis 31, 0
	sbis 20, 6
; Register bits and status flags.
	bld r0, 7
	bld r31, 0
	bld r12, 2
	bst r0, 7
	bst r31, 0
	bst r13, 3
	sbrc r0, 7
	sbrc r31, 0
	sbrc r14, 4
	sbrs r0, 7
	sbrs r31, 0
	sbrs r15, 5
	bset 0
	bset 1
	bset 2
	bset 3
	bset 4
	bset 5
	bset 6
	bset 7
	bclr 0
	bclr 1
	bclr 2
	bclr 3
	bclr 4
	bclr 5
	bclr 6
	bclr 7
	sec
	sez
	sen
	sev
	ses
	seh
	set
	sei
	clc
	clz
	cln
	clv
	cls
	clh
	clt
	cli
; Branches: the furthest back (-64) and forward (+63) of every one.
B0A:	brcs B0A-63
B0B:	brcs B0B+64
	brcs F0
F0:	brcs B0A
B1A:	brlo B1A-63
B1B:	brlo B1B+64
	brlo F1
F1:	brlo B1A
B2A:	breq B2A-63
B2B:	breq B2B+64
	breq F2
F2:	breq B2A
B3A:	brmi B3A-63
B3B:	brmi B3B+64
	brmi F3
F3:	brmi B3A
B4A:	brvs B4A-63
B4B:	brvs B4B+64
	brvs F4
F4:	brvs B4A
B5A:	brlt B5A-63
B5B:	brlt B5B+64
	brlt F5
F5:	brlt B5A
B6A:	brhs B6A-63
B6B:	brhs B6B+64
	brhs F6
F6:	brhs B6A
B7A:	brts B7A-63
B7B:	brts B7B+64
	brts F7
F7:	brts B7A
B8A:	brie B8A-63
B8B:	brie B8B+64
	brie F8
F8:	brie B8A
B9A:	brcc B9A-63
B9B:	brcc B9B+64
	brcc F9
F9:	brcc B9A
B10A:	brsh B10A-63
B10B:	brsh B10B+64
	brsh F10
F10:	brsh B10A
B11A:	brne B11A-63
B11B:	brne B11B+64
	brne F11
F11:	brne B11A
B12A:	brpl B12A-63
B12B:	brpl B12B+64
	brpl F12
F12:	brpl B12A
B13A:	brvc B13A-63
B13B:	brvc B13B+64
	brvc F13
F13:	brvc B13A
B14A:	brge B14A-63
B14B:	brge B14B+64
	brge F14
F14:	brge B14A
B15A:	brhc B15A-63
B15B:	brhc B15B+64
	brhc F15
F15:	brhc B15A
B16A:	brtc B16A-63
B16B:	brtc B16B+64
	brtc F16
F16:	brtc B16A
B17A:	brid B17A-63
B17B:	brid B17B+64
	brid F17
F17:	brid B17A
S0A:	brbs 0, S0A-63
S0B:	brbc 0, S0B+64
S1A:	brbs 1, S1A-63
S1B:	brbc 1, S1B+64
S2A:	brbs 2, S2A-63
S2B:	brbc 2, S2B+64
S3A:	brbs 3, S3A-63
S3B:	brbc 3, S3B+64
S4A:	brbs 4, S4A-63
S4B:	brbc 4, S4B+64
S5A:	brbs 5, S5A-63
S5B:	brbc 5, S5B+64
S6A:	brbs 6, S6A-63
S6B:	brbc 6, S6B+64
S7A:	brbs 7, S7A-63
S7B:	brbc 7, S7B+64
	brbs 0, FS
FS:	brbc 7, S0A
; Relative jumps and calls: -2048 and +2047 words, and labels on both sides.
R0:	rjmp R0-2047
R1:	rjmp R1+2048
R2:	rcall R2-2047
R3:	rcall R3+2048
	rjmp AHEAD
	rcall BACK
	rjmp R0
	rcall FAR
; Absolute jumps and calls: 0 and 3FFFFFH, every address bit alone.
	jmp 0
	jmp 0x3fffff
	call 0
	call 0x3fffff
	jmp 1
	call 2097152
	jmp 8
	call 262144
	jmp 64
	call 32768
	jmp 512
	call 4096
	jmp 4096
	call 512
	jmp 32768
	call 64
	jmp 262144
	call 8
	jmp 2097152
	call 1
	jmp 0x2a5a5a
	call 0x15a5a5
	jmp AHEAD
	call FAR
	jmp BACK
AHEAD:	ijmp
	icall
	ret
	reti
	nop
	sleep
	break
	wdr
	lds r1, DATA
	sts DATA, r2
	ldi r16, 0x55
FAR:	ret
DATA:	nop
	END
