; Peer source: assembled here with the RV32IM table, and the same program by
; GNU as (all-opcodes.s); the two images must agree. Every instruction in
; every operand shape, every register name in every place, both ends of
; every range.
	CPU "rv32im.tbl"
	HOF "BIN8"
	ORG 0x1000
; Every register name in every register place: rd, rs1 and rs2, by number
; and by name, each of the eight combinations of the two.
	add zero,x3,s1
	sub x0,a7,x21
	add ra,x4,a0
	sub x1,s2,x22
	add sp,x5,a1
	sub x2,s3,x23
	add gp,x6,a2
	sub x3,s4,x24
	add tp,x7,a3
	sub x4,s5,x25
	add t0,x8,a4
	sub x5,s6,x26
	add t1,x9,a5
	sub x6,s7,x27
	add t2,x10,a6
	sub x7,s8,x28
	add s0,x11,a7
	sub x8,s9,x29
	add s1,x12,s2
	sub x9,s10,x30
	add a0,x13,s3
	sub x10,s11,x31
	add a1,x14,s4
	sub x11,t3,x0
	add a2,x15,s5
	sub x12,t4,x1
	add a3,x16,s6
	sub x13,t5,x2
	add a4,x17,s7
	sub x14,t6,x3
	add a5,x18,s8
	sub x15,fp,x4
	add a6,x19,s9
	sub x16,zero,x5
	add a7,x20,s10
	sub x17,ra,x6
	add s2,x21,s11
	sub x18,sp,x7
	add s3,x22,t3
	sub x19,gp,x8
	add s4,x23,t4
	sub x20,tp,x9
	add s5,x24,t5
	sub x21,t0,x10
	add s6,x25,t6
	sub x22,t1,x11
	add s7,x26,fp
	sub x23,t2,x12
	add s8,x27,zero
	sub x24,s0,x13
	add s9,x28,ra
	sub x25,s1,x14
	add s10,x29,sp
	sub x26,a0,x15
	add s11,x30,gp
	sub x27,a1,x16
	add t3,x31,tp
	sub x28,a2,x17
	add t4,x0,t0
	sub x29,a3,x18
	add t5,x1,t1
	sub x30,a4,x19
	add t6,x2,t2
	sub x31,a5,x20
	add fp,x3,s0
	sub x0,a6,x21
	xor x1,x2,x3
	or ra,sp,gp
	and x4,tp,t0
	sll t1,x7,s0
	srl x9,x10,a1
	sra a2,x13,x14
	slt a5,a6,x17
	sltu x18,s3,s4
; Upper immediates and jumps; both ends of every range.
	lui a0,0
	lui x31,0xfffff
	lui t0,0x12345
	auipc a1,0
	auipc x30,0xfffff
	auipc s2,0xabcde
	lui a3,%hi(0x12345fff)
	auipc tp,%hi(0x7ffff800)
	lui x5,%hi(-1)
jback:
	jal ra,jback
	jal x0,jfwd
	jal jback
	jal s0,jfwd
jlo:
	jal t1,jlo-0x100000
jhi:
	jal x2,jhi+0xffffe
jfwd:
	j jfwd
	j jback
	jalr ra,0(a0)
	jalr t0,-2048(a1)
	jalr x6,2047(x7)
	jalr a0,(a1)
	jalr s1,(x31)
	jalr x3,%lo(0x12345678)(a2)
	jalr a4,a5,-1
	jalr x8,s0,12
	jalr gp,tp
	jalr t2
	jalr x31
	jr a0
	jr x5
	ret
; Branches: every condition, forward and back, and both ends of the reach.
bback:
	beq a0,x11,bback
	beq x12,t6,bfwd
	bne a0,x11,bback
	bne x12,t6,bfwd
	blt a0,x11,bback
	blt x12,t6,bfwd
	bge a0,x11,bback
	bge x12,t6,bfwd
	bltu a0,x11,bback
	bltu x12,t6,bfwd
	bgeu a0,x11,bback
	bgeu x12,t6,bfwd
blo:
	beq s0,s1,blo-4096
bhi:
	bgeu x20,x21,bhi+4094
blo2:
	bltu t5,zero,blo2-4096
bhi2:
	bne ra,fp,bhi2+4094
bfwd:
	beqz a0,bback
	beqz x13,bfwd2
	bnez a0,bback
	bnez x13,bfwd2
	bltz a0,bback
	bltz x13,bfwd2
	bgez a0,bback
	bgez x13,bfwd2
	blez a0,bback
	blez x13,bfwd2
	bgtz a0,bback
	bgtz x13,bfwd2
	bgt a0,t1,bback
	bgt x14,x15,bfwd2
	ble a0,t1,bback
	ble x14,x15,bfwd2
	bgtu a0,t1,bback
	bgtu x14,x15,bfwd2
	bleu a0,t1,bback
	bleu x14,x15,bfwd2
bhi3:
	bgt a7,s6,bhi3+4094
bfwd2:
; Loads and stores: offsets at both ends, zero, and by %lo.
	lb a0,-2048(sp)
	lb x31,2047(x1)
	lb t3,(s11)
	lb gp,%lo(0x12345abc)(a0)
	lb s5,-4(x8)
	lh a0,-2048(sp)
	lh x31,2047(x1)
	lh t3,(s11)
	lh gp,%lo(0x12345abc)(a0)
	lh s5,-4(x8)
	lw a0,-2048(sp)
	lw x31,2047(x1)
	lw t3,(s11)
	lw gp,%lo(0x12345abc)(a0)
	lw s5,-4(x8)
	lbu a0,-2048(sp)
	lbu x31,2047(x1)
	lbu t3,(s11)
	lbu gp,%lo(0x12345abc)(a0)
	lbu s5,-4(x8)
	lhu a0,-2048(sp)
	lhu x31,2047(x1)
	lhu t3,(s11)
	lhu gp,%lo(0x12345abc)(a0)
	lhu s5,-4(x8)
	sb a0,-2048(sp)
	sb x31,2047(x1)
	sb t3,(s11)
	sb gp,%lo(0x12345abc)(a0)
	sb ra,-1(x2)
	sh a0,-2048(sp)
	sh x31,2047(x1)
	sh t3,(s11)
	sh gp,%lo(0x12345abc)(a0)
	sh ra,-1(x2)
	sw a0,-2048(sp)
	sw x31,2047(x1)
	sw t3,(s11)
	sw gp,%lo(0x12345abc)(a0)
	sw ra,-1(x2)
; Register-immediate arithmetic: -2048..2047, sltiu signed too.
	addi a0,a1,-2048
	addi x30,x29,2047
	addi t0,x0,0
	addi s7,s8,%lo(0x87654321)
	addi x9,fp,-1
	slti a0,a1,-2048
	slti x30,x29,2047
	slti t0,x0,0
	slti s7,s8,%lo(0x87654321)
	slti x9,fp,-1
	sltiu a0,a1,-2048
	sltiu x30,x29,2047
	sltiu t0,x0,0
	sltiu s7,s8,%lo(0x87654321)
	sltiu x9,fp,-1
	xori a0,a1,-2048
	xori x30,x29,2047
	xori t0,x0,0
	xori s7,s8,%lo(0x87654321)
	xori x9,fp,-1
	ori a0,a1,-2048
	ori x30,x29,2047
	ori t0,x0,0
	ori s7,s8,%lo(0x87654321)
	ori x9,fp,-1
	andi a0,a1,-2048
	andi x30,x29,2047
	andi t0,x0,0
	andi s7,s8,%lo(0x87654321)
	andi x9,fp,-1
	slli a0,a1,0
	slli x31,t2,31
	slli s10,x3,17
	srli a0,a1,0
	srli x31,t2,31
	srli s10,x3,17
	srai a0,a1,0
	srai x31,t2,31
	srai s10,x3,17
; Register-register arithmetic, multiply and divide.
	add a0,t4,x28
	add x27,s9,a3
	sub a0,t4,x28
	sub x27,s9,a3
	sll a0,t4,x28
	sll x27,s9,a3
	slt a0,t4,x28
	slt x27,s9,a3
	sltu a0,t4,x28
	sltu x27,s9,a3
	xor a0,t4,x28
	xor x27,s9,a3
	srl a0,t4,x28
	srl x27,s9,a3
	sra a0,t4,x28
	sra x27,s9,a3
	or a0,t4,x28
	or x27,s9,a3
	and a0,t4,x28
	and x27,s9,a3
	mul a0,t4,x28
	mul x27,s9,a3
	mulh a0,t4,x28
	mulh x27,s9,a3
	mulhsu a0,t4,x28
	mulhsu x27,s9,a3
	mulhu a0,t4,x28
	mulhu x27,s9,a3
	div a0,t4,x28
	div x27,s9,a3
	divu a0,t4,x28
	divu x27,s9,a3
	rem a0,t4,x28
	rem x27,s9,a3
	remu a0,t4,x28
	remu x27,s9,a3
; Ordering and system.
	fence
	fence w,o
	fence r,irw
	fence rw,rw
	fence o,ir
	fence ow,r
	fence or,iw
	fence orw,w
	fence i,i
	fence iw,iorw
	fence ir,orw
	fence irw,ior
	fence io,or
	fence iow,iow
	fence ior,ow
	fence iorw,io
	ecall
	ebreak
; Pseudo-instructions of one instruction.
	nop
	li a0,-2048
	li x31,2047
	li t0,0
	mv a0,a1
	mv x5,fp
	not s2,s3
	neg a4,x17
	seqz t1,t2
	snez x8,s1
	sltz a6,a7
	sgtz x20,x21
	END
