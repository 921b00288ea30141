; An RV32IM program: copies a block of words from ROM to RAM, computes a
; Fletcher-16 checksum of the copy, and sends it to the UART in
; hexadecimal through a digit table.
; Assemble it from this directory with
;	tarn -I ../../tables checksum.asm
; which writes checksum.LST, checksum.HEX (Intel hex) and checksum.ERR.
	CPU "rv32im.tbl"
	HOF "INT8"
	TITL "RV32IM block copy and checksum"
	INCL "board.inc"

; LA loads a 32-bit address in two instructions: the upper 20 bits, rounded
; so that the sign-extended low 12 bits added by ADDI give the value back.
LA	MACRO REG,ADDR
	lui REG,%hi(ADDR)
	addi REG,REG,%lo(ADDR)
	ENDM

	ORG 0
start	LA sp,STACKTOP
	LA a0,RAM		; destination
	LA a1,table		; source
	li a2,TABLEN/4		; words to copy
	jal copy
	LA a0,RAM
	li a1,TABLEN
	jal fletcher
	mv s0,a0		; the checksum, 16 bits
	li s1,12		; shift of the top digit
digits	srl a0,s0,s1
	jal puthex
	addi s1,s1,-4
	bgez s1,digits
halt	j halt

; copy: a2 words from (a1) to (a0); a0 and a1 are left past the block.
copy	beqz a2,copydone
copyloop lw t0,0(a1)
	sw t0,(a0)
	addi a1,a1,4
	addi a0,a0,4
	addi a2,a2,-1
	bnez a2,copyloop
copydone ret

; fletcher: the Fletcher-16 sum of the a1 bytes at (a0), in a0. Both running
; sums are kept modulo 255 with REMU.
fletcher li t0,0		; sum1
	li t1,0			; sum2
	li t3,255
	add a1,a0,a1		; end of the block
fbyte	bgeu a0,a1,fdone
	lbu t2,(a0)
	add t0,t0,t2
	remu t0,t0,t3
	add t1,t1,t0
	remu t1,t1,t3
	addi a0,a0,1
	j fbyte
fdone	slli t1,t1,8
	or a0,t1,t0
	ret

; puthex: sends the low four bits of a0 as a hexadecimal digit.
puthex	andi a0,a0,15
	LA t0,hexdigits
	add t0,t0,a0
	lbu t0,(t0)
	LA t1,UART_TX
	sw t0,(t1)
	ret

hexdigits DFB "0123456789ABCDEF"
	ALGN 4
table	DLL 01234567H,89ABCDEFH,0DEADBEEFH,0,-1
	DLL 0FEDCBA98H,76543210H,1,2,3
TABLEN	EQU $ - table
	END
