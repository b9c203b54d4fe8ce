
VornName:Petals
VornFile:Petals.vrn
StepSize:280
VornsAcross:5
VornsDown:2
TotalVorns:10
VornPlacementMode:0
VornSelectionMode:0

