@ The same program as all-opcodes.asm, for GNU as; linked with .text at
@ 0x1000 and each far target's section at its address; only .text is kept.
	.syntax unified
	.thumb
	.text
@ BL first, so that its address is known: one far target at the end of the
@ forward reach the linker allows (4 MB - 2), one between, two behind.
	bl far0
	bl far1
	bl far2
	bl far3
@ LDR and ADR of a label: offsets 0 and 1020 from the word-aligned PC.
	ldr r0,lit0
	adr r7,lit0
lit0:
	.word 0x12345678
	ldr r3,lit1
	adr r4,lit1
	.space 1020, 0xff
lit1:
	.word 0x9ABCDEF0
@ Shifts by an immediate: both ends of each count, the two-operand form.
	lsls r0,r7,#0
	lsls r1,r6,#1
	lsls r7,r0,#31
	lsls r5,#17
	lsrs r2,r5,#1
	lsrs r6,r7,#32
	lsrs r3,r4,#31
	lsrs r4,#8
	asrs r3,r4,#1
	asrs r0,r7,#32
	asrs r7,r1,#15
	asrs r2,#32
@ Add and subtract: registers, 3-bit and 8-bit immediates, the forms with
@ the destination written twice.
	adds r0,r1,r2
	adds r7,r6,r5
	adds r3,r4
	subs r1,r2,r3
	subs r6,r7,r0
	subs r4,r5
	adds r0,r1,#0
	adds r7,r6,#7
	adds r2,r5,#3
	subs r1,r2,#0
	subs r6,r3,#7
	subs r5,r0,#4
	adds r0,#0
	adds r7,#255
	adds r3,#0x5a
	subs r1,#1
	subs r6,#255
	subs r4,#128
	adds r0,r0,#0
	subs r0,r0,#255
	adds r1,r1,#36
	subs r1,r1,#252
	adds r2,r2,#72
	subs r2,r2,#249
	adds r3,r3,#108
	subs r3,r3,#246
	adds r4,r4,#144
	subs r4,r4,#243
	adds r5,r5,#180
	subs r5,r5,#240
	adds r6,r6,#216
	subs r6,r6,#237
	adds r7,r7,#252
	subs r7,r7,#234
	adds r0,r0,#255
	subs r7,r7,#0
@ Moves and compares with an 8-bit immediate.
	movs r0,#0
	movs r7,#255
	movs r4,#0xa5
	movs r2,r5
	movs r7,r0
	cmp r0,#0
	cmp r7,#255
	cmp r5,#0x3c
@ The two-register operations, each with other registers.
	ands r0,r5
	ands r7,r7
	ands r0,r0,r6
	eors r1,r0
	eors r6,r2
	eors r1,r1,r1
	lsls r2,r3
	lsls r5,r5
	lsls r2,r2,r4
	lsrs r3,r6
	lsrs r4,r0
	lsrs r3,r3,r7
	asrs r4,r1
	asrs r3,r3
	asrs r4,r4,r2
	adcs r5,r4
	adcs r2,r6
	adcs r5,r5,r5
	sbcs r6,r7
	sbcs r1,r1
	sbcs r6,r6,r0
	rors r7,r2
	rors r0,r4
	rors r7,r7,r3
	tst r0,r5
	tst r7,r7
	cmp r1,r0
	cmp r6,r2
	cmn r2,r3
	cmn r5,r5
	orrs r3,r6
	orrs r4,r0
	orrs r3,r3,r7
	muls r4,r1
	muls r3,r3
	bics r5,r4
	bics r2,r6
	bics r5,r5,r5
	mvns r6,r7
	mvns r1,r1
	muls r0,r3,r0
	muls r1,r4,r1
	muls r2,r5,r2
	muls r3,r6,r3
	muls r4,r7,r4
	muls r5,r0,r5
	muls r6,r1,r6
	muls r7,r2,r7
	ands r7,r7,r0
	orrs r0,r0,r7
	rsbs r0,r7,#0
	rsbs r5,r2,#0
	negs r1,r6
	negs r7,r0
@ Any-register forms: ADD, CMP, MOV, BX, BLX.
	mov r0,r3
	mov r1,r10
	mov r2,r2
	mov r3,r9
	mov r4,r1
	mov r5,r8
	mov r6,r0
	mov r7,r7
	mov r8,lr
	mov r9,r6
	mov r10,sp
	mov r11,r5
	mov r12,r12
	mov sp,r4
	mov lr,r11
	mov r8,r8
	mov r12,r0
	mov r0,r12
	mov lr,pc
	mov r7,sp
	mov sp,r7
	add r0,r1
	add r7,r8
	add r8,r0
	add r12,r11
	add r3,sp
	add sp,r2
	add lr,r5
	add r10,r10
	cmp r0,r8
	cmp r8,r0
	cmp r12,r1
	cmp lr,r9
	cmp r9,lr
	cmp r3,r12
	bx r0
	bx r7
	bx r8
	bx lr
	blx r1
	blx r6
	blx r12
	blx lr
@ SP arithmetic, both ends of each range.
	add r0,sp,#0
	add r7,sp,#1020
	add r3,sp,#0x1f4
	add sp,sp,#0
	add sp,sp,#508
	add sp,#4
	add sp,#500
	sub sp,sp,#0
	sub sp,sp,#508
	sub sp,#4
	sub sp,#252
@ Loads and stores with a register offset.
	str r0,[r3,r6]
	str r7,[r5,r1]
	strh r1,[r4,r7]
	strh r6,[r6,r2]
	strb r2,[r5,r0]
	strb r5,[r7,r3]
	ldrsb r3,[r6,r1]
	ldrsb r4,[r0,r4]
	ldr r4,[r7,r2]
	ldr r3,[r1,r5]
	ldrh r5,[r0,r3]
	ldrh r2,[r2,r6]
	ldrb r6,[r1,r4]
	ldrb r1,[r3,r7]
	ldrsh r7,[r2,r5]
	ldrsh r0,[r4,r0]
@ Immediate offsets: none, the smallest step and the largest.
	str r0,[r7]
	str r7,[r0,#4]
	str r3,[r5,#124]
	str r6,[r1,#0]
	str r1,[r2,#60]
	ldr r0,[r7]
	ldr r7,[r0,#4]
	ldr r3,[r5,#124]
	ldr r6,[r1,#0]
	ldr r1,[r2,#60]
	strh r0,[r7]
	strh r7,[r0,#2]
	strh r3,[r5,#62]
	strh r6,[r1,#0]
	strh r1,[r2,#30]
	ldrh r0,[r7]
	ldrh r7,[r0,#2]
	ldrh r3,[r5,#62]
	ldrh r6,[r1,#0]
	ldrh r1,[r2,#30]
	strb r0,[r7]
	strb r7,[r0,#1]
	strb r3,[r5,#31]
	strb r6,[r1,#0]
	strb r1,[r2,#15]
	ldrb r0,[r7]
	ldrb r7,[r0,#1]
	ldrb r3,[r5,#31]
	ldrb r6,[r1,#0]
	ldrb r1,[r2,#15]
@ SP- and PC-relative.
	str r0,[sp]
	str r7,[sp,#1020]
	str r3,[sp,#4]
	ldr r0,[sp,#0]
	ldr r7,[sp,#1020]
	ldr r5,[sp,#512]
	ldr r2,[sp]
	ldr r0,[pc]
	ldr r7,[pc,#1020]
	ldr r4,[pc,#4]
	ldr r1,[pc,#0x100]
@ Register lists.
	push {r0}
	push {r7}
	push {lr}
	push {r0,r1,r2,r3,r4,r5,r6,r7,lr}
	push {r4, r5, r6, lr}
	push { r2 , r6 }
	pop {r0}
	pop {r7}
	pop {pc}
	pop {r0,r1,r2,r3,r4,r5,r6,r7,pc}
	pop {r4,r5,r6,pc}
	pop {r1,r3}
	stm r0!,{r1}
	stm r7!,{r0,r1,r2,r3,r4,r5,r6}
	stmia r3!,{r0,r7}
	stmea r2!, {r5}
	ldm r0!,{r1,r2}
	ldm r7!,{r0,r1,r2,r3,r4,r5,r6}
	ldm r0,{r0,r1}
	ldm r5, {r0,r5,r7}
	ldmia r1!,{r7}
	ldmfd r6!,{r0,r3}
@ Extension and byte reversal.
	sxth r0,r7
	sxth r4,r1
	sxtb r1,r6
	sxtb r5,r2
	uxth r2,r5
	uxth r6,r3
	uxtb r3,r4
	uxtb r7,r4
	rev r4,r3
	rev r0,r5
	rev16 r5,r2
	rev16 r1,r6
	revsh r6,r1
	revsh r2,r7
@ System instructions.
	svc #0
	svc #255
	svc #0x42
	svc 7
	bkpt #0
	bkpt #255
	bkpt 0xab
	cpsie i
	cpsid i
	nop
	yield
	wfe
	wfi
	sev
	dsb
	dsb sy
	dmb
	dmb sy
	isb
	isb sy
	mrs r0,apsr
	mrs r12,apsr
	mrs r1,iapsr
	mrs lr,iapsr
	mrs r2,eapsr
	mrs r9,eapsr
	mrs r3,xpsr
	mrs r8,xpsr
	mrs r4,ipsr
	mrs r11,ipsr
	mrs r5,epsr
	mrs r0,epsr
	mrs r6,iepsr
	mrs r12,iepsr
	mrs r7,msp
	mrs lr,msp
	mrs r8,psp
	mrs r9,psp
	mrs r9,primask
	mrs r8,primask
	mrs r10,control
	mrs r11,control
	msr msp,r3
	msr msp,r12
	msr msp,lr
	msr psp,r3
	msr psp,r12
	msr psp,lr
	msr primask,r3
	msr primask,r12
	msr primask,lr
	msr control,r3
	msr control,r12
	msr control,lr
@ Branches: every condition, both ends of each reach.
bback:
	b bback
	beq bback
	beq bfwd0
bfwd0:
	bne bback
	bne bfwd1
bfwd1:
	bcs bback
	bcs bfwd2
bfwd2:
	bhs bback
	bhs bfwd3
bfwd3:
	bcc bback
	bcc bfwd4
bfwd4:
	blo bback
	blo bfwd5
bfwd5:
	bmi bback
	bmi bfwd6
bfwd6:
	bpl bback
	bpl bfwd7
bfwd7:
	bvs bback
	bvs bfwd8
bfwd8:
	bvc bback
	bvc bfwd9
bfwd9:
	bhi bback
	bhi bfwd10
bfwd10:
	bls bback
	bls bfwd11
bfwd11:
	bge bback
	bge bfwd12
bfwd12:
	blt bback
	blt bfwd13
bfwd13:
	bgt bback
	bgt bfwd14
bfwd14:
	ble bback
	ble bfwd15
bfwd15:
	bl bback
	bl blfwd
blfwd:
@ Bcc at its reach: 256 bytes back, 254 forward.
cback:
	.space 252, 0xff
	bne cback
	bgt cfwd
	.space 254, 0xff
cfwd:
@ B at its reach: 2048 bytes back, 2046 forward.
uback:
	.space 2044, 0xff
	b uback
	b ufwd
	.space 2046, 0xff
ufwd:
@ BL across more than 4 KB, both ways.
lback:
	.space 6000, 0xff
	bl lback
	bl lfwd
	.space 10000, 0xff
lfwd:
	nop
	.section .far0,"ax",%progbits
	.thumb_func
far0:
	nop
	.section .far1,"ax",%progbits
	.thumb_func
far1:
	nop
	.section .far2,"ax",%progbits
	.thumb_func
far2:
	nop
	.section .far3,"ax",%progbits
	.thumb_func
far3:
	nop
