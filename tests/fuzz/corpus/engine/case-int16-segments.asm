; code crossing 64 KB under INT16: the record that starts below the boundary keeps segment 0
	ORG 0FFF8H
	DFB 1,2,3,4,5,6,7,8,9,10,11,12
	DFB 13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28
	ORG 0B0000H
	DFB 0BBH
	END
