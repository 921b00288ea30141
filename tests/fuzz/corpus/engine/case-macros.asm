; macro definition, expansion with arguments, labels of each expansion,
; and a macro whose body invokes another
	HOF	"INT8"
	ORG	100H
PAIR	MACRO	FIRST,SECOND
NEXT	DFB	FIRST,SECOND	; FIRST then SECOND
	DWL	NEXT
	ENDM
ONE	MACRO	V
	DFB	V
	ENDM
BOTH	MACRO
	ONE	9
	DFB	0		; abandoned
	ENDM
START	PAIR	1,2
	PAIR	3
SECOND	EQU	4
	BOTH
	MACRO			; no name: error
	DFB	8
	ENDM
	ENDM			; nothing to end: error
	DWL	START
	END
