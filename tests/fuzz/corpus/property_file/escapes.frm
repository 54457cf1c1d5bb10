Path\tName	String	C:\\Data\nnext
Ratio	Double	0.1
Kind	Integer	-3
None	Empty	
