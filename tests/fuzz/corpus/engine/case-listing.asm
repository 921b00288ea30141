; listing layout: paging, title, values, errors, LIST and the label list
	TITL "Listing test"
	PAGE 12
	HOF "INT8"
COUNT	EQU 12345678H
	ORG 200H
TABLE	DFB 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20
	DWL TABLE,COUNT
ONLY_LABEL

	DFB 300		; range error, reported at the operand's last digit
	LIST "OFF"
	DFB 1		; not listed
	DFB UNDEFINED	; not listed, but in the error file
	LIST "ON"
	PAGE
VAR	SETL 1
VAR	SETL VAR+1
	DFB VAR
A1	DFB 1
A2	DFB 2
A3	DFB 3
Z	DFB 4
	END
