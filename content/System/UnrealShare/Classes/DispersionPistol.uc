//=============================================================================
// DispersionPistol: The dispersion pistol: the gun the player starts with.
//=============================================================================
class DispersionPistol expands Weapon;

#exec MESH IMPORT MESH=DPistolPick ANIVFILE=MODELS\DPistolPick_a.3d DATAFILE=MODELS\DPistolPick_d.3d
#exec MESH ORIGIN MESH=DPistolPick X=0 Y=0 Z=0 YAW=0
#exec MESH SEQUENCE MESH=DPistolPick SEQ=Still STARTFRAME=0 NUMFRAMES=1 RATE=1
#exec MESHMAP SCALE MESHMAP=DPistolPick X=0.05 Y=0.05 Z=0.1
#exec MESHMAP SETTEXTURE MESHMAP=DPistolPick NUM=0 TEXTURE=UnrealShare.Skins.JDPistol1

#exec MESH IMPORT MESH=DPistolView ANIVFILE=MODELS\DPistolView_a.3d DATAFILE=MODELS\DPistolView_d.3d
#exec MESH ORIGIN MESH=DPistolView X=0 Y=0 Z=0 YAW=0
#exec MESH SEQUENCE MESH=DPistolView SEQ=Still STARTFRAME=0 NUMFRAMES=1 RATE=1
#exec MESH SEQUENCE MESH=DPistolView SEQ=Shoot STARTFRAME=1 NUMFRAMES=6 RATE=20
#exec MESHMAP SCALE MESHMAP=DPistolView X=0.05 Y=0.05 Z=0.1
#exec MESHMAP SETTEXTURE MESHMAP=DPistolView NUM=0 TEXTURE=UnrealShare.Skins.JDPistol1

defaultproperties
{
	Mesh=LodMesh'UnrealShare.DPistolPick'
	PlayerViewMesh=LodMesh'UnrealShare.DPistolView'
	PlayerViewOffset=(X=4.000000,Y=-1.800000,Z=-1.900000)
	PlayerViewScale=1.000000
	PickupMessage="You got the Dispersion Pistol"
}
