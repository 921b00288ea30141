	CPU "t.tbl"
	HOF "BIN8"
	ORG 100H
	NOP
	nop a
	LD #5
	LD 1234H
	LD #-128
	LD #300
	MOV B,7
	MOV d , 7
L	BR L+10
	BR L-126
	PUSH A,C
	JP 12H
	JP TARGET
	ST 0ABH
	JMPI (1234H)
	UNDEF 5
	BLANK 5
	TWO X , Y
	NOPL
	LD UNDEFINED
TARGET	EQU 1234H
	END
=====
; an imaginary processor
0,"A","B","C","D"
*
1,8,8,#,-128,255
2,8,16,#,0,65535
3,8,8,#-$-2,$-126,$+129
4,6,2,@0,0,3
5,8,8,@&0,1,15
6,8,8,#,0,255
7,12,8,#,0,255   ; a field that straddles two bytes
8,8,16,INV # >> 16,0,65535  ; little-endian address
*
1,#{1}^0000:
2,{2}^010000:
3,{4},{1}^0000:
4,{3}^0000:
5,{5}^0000:
6,{6}^0000:
7,{2}^020000:
8,{7}^000000:
9,({8})^000000:
10,{9}^0000:
11,{1} ^0000:
*
NOP^00:
LD|1-2^10:
MOV|3^40:
BR|4^20:
PUSH|5^30:
JP|6-7^C0:
ST|8^E0:
JMPI|9^D0:
UNDEF|10^F0:
BLANK|11^F1:
NOP A^01:
LDX|12^F2:
TWO X,Y^0203:
nopl^ab:
