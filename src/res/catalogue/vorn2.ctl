
VornName:Pebbles
VornFile:Pebbles.vrn
StepSize:200
VornsAcross:5
VornsDown:3
TotalVorns:15
VornPlacementMode:0
VornSelectionMode:0

