{ Writes the reference stream of a skinned-window component with every option set, which the
  skinform suite compares against. It declares the same published properties, in the same order
  and with the same defaults, and uses only the Classes unit of Free Pascal, an implementation
  independent of ours. Run regenerate.sh to rebuild the files. }
program FormOracle;

{$mode objfpc}{$H+}

uses
  Classes, SysUtils;

type
  TSeBorderIcon = (kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiHelp, kbiRollup, kbiTray);
  TSeBorderIcons = set of TSeBorderIcon;
  TSeBorderStyle = (kbsNone, kbsStandard, kbsToolWindow);
  TSeFormPerformance = (ksfpNoBuffer, ksfpSharedBuffer, ksfpPersistentBuffer, ksfpDoubleBuffer);
  TSeWindowState = (kwsNormal, kwsMaximized, kwsMinimized, kwsRollup, kwsTray);
  TSeFormDragMode = (kfdmBorder, kfdmFullDrag);
  TSeDirection = (kdNone, kdNoRotate, kdRotate90, kdRotate180, kdRotate270);

  TSeBlending = class(TPersistent)
  private
    FEnabled: Boolean;
    FValue: Integer;
  public
    constructor Create;
  published
    property Enabled: Boolean read FEnabled write FEnabled default False;
    property Value: Integer read FValue write FValue default 150;
  end;

  TSeShadow = class(TPersistent)
  private
    FEnabled: Boolean;
    FSize: Integer;
  public
    constructor Create;
  published
    property Enabled: Boolean read FEnabled write FEnabled default False;
    property Size: Integer read FSize write FSize default 4;
  end;

  TSeGravitation = class(TPersistent)
  private
    FEnabled: Boolean;
    FSize: Integer;
  public
    constructor Create;
  published
    property Enabled: Boolean read FEnabled write FEnabled default True;
    property Size: Integer read FSize write FSize default 20;
  end;

  TSeDragging = class(TPersistent)
  private
    FDragMode: TSeFormDragMode;
    FMoveable, FSizeable: Boolean;
  public
    constructor Create;
  published
    property DragMode: TSeFormDragMode read FDragMode write FDragMode default kfdmFullDrag;
    property Moveable: Boolean read FMoveable write FMoveable default True;
    property Sizeable: Boolean read FSizeable write FSizeable default True;
  end;

  TSeAnimation = class(TPersistent)
  private
    FDirection: TSeDirection;
    FEffectKind: string;
    FEnabled: Boolean;
    FResolution, FTileCount, FTime: Integer;
  public
    constructor Create;
  published
    property Direction: TSeDirection read FDirection write FDirection default kdNone;
    property EffectKind: string read FEffectKind write FEffectKind;
    property Enabled: Boolean read FEnabled write FEnabled default False;
    property Resolution: Integer read FResolution write FResolution default 1;
    property TileCount: Integer read FTileCount write FTileCount default 1;
    property Time: Integer read FTime write FTime default 400;
  end;

  TSePopupMenuOptions = class(TPersistent)
  private
    FAnimation: TSeAnimation;
    FBlending: TSeBlending;
    FShadow: TSeShadow;
    procedure SetAnimation(Value: TSeAnimation);
    procedure SetBlending(Value: TSeBlending);
    procedure SetShadow(Value: TSeShadow);
  public
    constructor Create;
    destructor Destroy; override;
  published
    property Animation: TSeAnimation read FAnimation write SetAnimation;
    property Blending: TSeBlending read FBlending write SetBlending;
    property Shadow: TSeShadow read FShadow write SetShadow;
  end;

  TSizeConstraints = class(TPersistent)
  private
    FMaxHeight, FMaxWidth, FMinHeight, FMinWidth: Integer;
  published
    property MaxHeight: Integer read FMaxHeight write FMaxHeight default 0;
    property MaxWidth: Integer read FMaxWidth write FMaxWidth default 0;
    property MinHeight: Integer read FMinHeight write FMinHeight default 0;
    property MinWidth: Integer read FMinWidth write FMinWidth default 0;
  end;

  TSeSkinForm = class(TComponent)
  private
    FActive: Boolean;
    FAnimation: TSeAnimation;
    FBlending: TSeBlending;
    FBorderIcons: TSeBorderIcons;
    FBorderStyle: TSeBorderStyle;
    FCaption: WideString;
    FDragging: TSeDragging;
    FGravitation: TSeGravitation;
    FConstraints: TSizeConstraints;
    FSystemMenuOptions: TSePopupMenuOptions;
    FSystemMenuLink: TComponent;
    FTrayMenuOptions: TSePopupMenuOptions;
    FTrayMenuLink: TComponent;
    FMinimizeApplication: Boolean;
    FPerformance: TSeFormPerformance;
    FShadow: TSeShadow;
    FStayOnTop, FStretchBackground: Boolean;
    FWindowState: TSeWindowState;
    FSkinEngine: TComponent;
    FSkinObject, FVersion: string;
    procedure SetAnimation(Value: TSeAnimation);
    procedure SetBlending(Value: TSeBlending);
    procedure SetDragging(Value: TSeDragging);
    procedure SetGravitation(Value: TSeGravitation);
    procedure SetConstraints(Value: TSizeConstraints);
    procedure SetSystemMenuOptions(Value: TSePopupMenuOptions);
    procedure SetTrayMenuOptions(Value: TSePopupMenuOptions);
    procedure SetShadow(Value: TSeShadow);
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
  published
    property Active: Boolean read FActive write FActive default True;
    property Animation: TSeAnimation read FAnimation write SetAnimation;
    property Blending: TSeBlending read FBlending write SetBlending;
    property BorderIcons: TSeBorderIcons read FBorderIcons write FBorderIcons;
    property BorderStyle: TSeBorderStyle read FBorderStyle write FBorderStyle;
    property Caption: WideString read FCaption write FCaption;
    property Dragging: TSeDragging read FDragging write SetDragging;
    property Gravitation: TSeGravitation read FGravitation write SetGravitation;
    property Constraints: TSizeConstraints read FConstraints write SetConstraints;
    property SystemMenuOptions: TSePopupMenuOptions read FSystemMenuOptions write SetSystemMenuOptions;
    property SystemMenuLink: TComponent read FSystemMenuLink write FSystemMenuLink;
    property TrayMenuOptions: TSePopupMenuOptions read FTrayMenuOptions write SetTrayMenuOptions;
    property TrayMenuLink: TComponent read FTrayMenuLink write FTrayMenuLink;
    property MinimizeApplication: Boolean read FMinimizeApplication write FMinimizeApplication default True;
    property Performance: TSeFormPerformance read FPerformance write FPerformance;
    property Shadow: TSeShadow read FShadow write SetShadow;
    property StayOnTop: Boolean read FStayOnTop write FStayOnTop;
    property StretchBackground: Boolean read FStretchBackground write FStretchBackground;
    property WindowState: TSeWindowState read FWindowState write FWindowState;
    property SkinEngine: TComponent read FSkinEngine write FSkinEngine;
    property SkinObject: string read FSkinObject write FSkinObject;
    property Version: string read FVersion write FVersion stored False;
  end;

constructor TSeBlending.Create;
begin
  FValue := 150;
end;

constructor TSeShadow.Create;
begin
  FSize := 4;
end;

constructor TSeGravitation.Create;
begin
  FEnabled := True;
  FSize := 20;
end;

constructor TSeDragging.Create;
begin
  FDragMode := kfdmFullDrag;
  FMoveable := True;
  FSizeable := True;
end;

constructor TSeAnimation.Create;
begin
  FEffectKind := '[ RANDOM ] - Random selection';
  FResolution := 1;
  FTileCount := 1;
  FTime := 400;
end;

constructor TSePopupMenuOptions.Create;
begin
  FAnimation := TSeAnimation.Create;
  FBlending := TSeBlending.Create;
  FShadow := TSeShadow.Create;
end;

destructor TSePopupMenuOptions.Destroy;
begin
  FShadow.Free;
  FBlending.Free;
  FAnimation.Free;
  inherited Destroy;
end;

constructor TSeSkinForm.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FActive := True;
  FAnimation := TSeAnimation.Create;
  FBlending := TSeBlending.Create;
  FBorderIcons := [kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize];
  FBorderStyle := kbsStandard;
  FDragging := TSeDragging.Create;
  FGravitation := TSeGravitation.Create;
  FConstraints := TSizeConstraints.Create;
  FSystemMenuOptions := TSePopupMenuOptions.Create;
  FTrayMenuOptions := TSePopupMenuOptions.Create;
  FMinimizeApplication := True;
  FShadow := TSeShadow.Create;
  FSkinObject := 'Form';
  FVersion := '3.4.7';
end;

destructor TSeSkinForm.Destroy;
begin
  FShadow.Free;
  FTrayMenuOptions.Free;
  FSystemMenuOptions.Free;
  FConstraints.Free;
  FGravitation.Free;
  FDragging.Free;
  FBlending.Free;
  FAnimation.Free;
  inherited Destroy;
end;

procedure TSePopupMenuOptions.SetAnimation(Value: TSeAnimation);
begin
  FAnimation.Assign(Value);
end;

procedure TSePopupMenuOptions.SetBlending(Value: TSeBlending);
begin
  FBlending.Assign(Value);
end;

procedure TSePopupMenuOptions.SetShadow(Value: TSeShadow);
begin
  FShadow.Assign(Value);
end;

procedure TSeSkinForm.SetAnimation(Value: TSeAnimation);
begin
  FAnimation.Assign(Value);
end;

procedure TSeSkinForm.SetBlending(Value: TSeBlending);
begin
  FBlending.Assign(Value);
end;

procedure TSeSkinForm.SetDragging(Value: TSeDragging);
begin
  FDragging.Assign(Value);
end;

procedure TSeSkinForm.SetGravitation(Value: TSeGravitation);
begin
  FGravitation.Assign(Value);
end;

procedure TSeSkinForm.SetConstraints(Value: TSizeConstraints);
begin
  FConstraints.Assign(Value);
end;

procedure TSeSkinForm.SetSystemMenuOptions(Value: TSePopupMenuOptions);
begin
  FSystemMenuOptions.Assign(Value);
end;

procedure TSeSkinForm.SetTrayMenuOptions(Value: TSePopupMenuOptions);
begin
  FTrayMenuOptions.Assign(Value);
end;

procedure TSeSkinForm.SetShadow(Value: TSeShadow);
begin
  FShadow.Assign(Value);
end;

procedure SaveStream(S: TStream; const FileName: string);
var
  F: TFileStream;
begin
  S.Position := 0;
  F := TFileStream.Create(FileName, fmCreate);
  try
    F.CopyFrom(S, S.Size);
  finally
    F.Free;
  end;
end;

{ Every option away from its default; the values mirror tests/skinform/FormOptionsTest.cpp. }
function MakeReference: TSeSkinForm;
begin
  Result := TSeSkinForm.Create(nil);
  Result.Name := 'SeSkinForm1';
  Result.Active := False;
  Result.Animation.Direction := kdRotate180;
  Result.Animation.EffectKind := 'Fade';
  Result.Animation.Enabled := True;
  Result.Animation.Resolution := 3;
  Result.Animation.TileCount := 5;
  Result.Animation.Time := 700;
  Result.Blending.Enabled := True;
  Result.Blending.Value := 200;
  Result.BorderIcons := [kbiClose, kbiRollup, kbiTray];
  Result.BorderStyle := kbsToolWindow;
  Result.Caption := #$5237#$65B0;
  Result.Dragging.DragMode := kfdmBorder;
  Result.Dragging.Moveable := False;
  Result.Dragging.Sizeable := False;
  Result.Gravitation.Enabled := False;
  Result.Gravitation.Size := 9;
  Result.Constraints.MinWidth := 160;
  Result.Constraints.MinHeight := 90;
  Result.SystemMenuOptions.Animation.EffectKind := 'Wipe';
  Result.SystemMenuOptions.Blending.Value := 10;
  Result.SystemMenuOptions.Shadow.Enabled := True;
  Result.TrayMenuOptions.Shadow.Size := 7;
  Result.MinimizeApplication := False;
  Result.Performance := ksfpPersistentBuffer;
  Result.Shadow.Enabled := True;
  Result.Shadow.Size := 20;
  Result.StayOnTop := True;
  Result.StretchBackground := True;
  Result.WindowState := kwsRollup;
  Result.SkinObject := 'ToolWindow';
end;

var
  OutDir: string;
  Form: TSeSkinForm;
  Bin, Txt, Back: TMemoryStream;
begin
  OutDir := ParamStr(1);
  RegisterClasses([TSeSkinForm]);
  Form := MakeReference;
  Bin := TMemoryStream.Create;
  Txt := TMemoryStream.Create;
  Back := TMemoryStream.Create;
  try
    Bin.WriteComponent(Form);
    SaveStream(Bin, OutDir + '/skinform.bin');
    Bin.Position := 0;
    ObjectBinaryToText(Bin, Txt);
    SaveStream(Txt, OutDir + '/skinform.txt');
    Txt.Position := 0;
    ObjectTextToBinary(Txt, Back);
    SaveStream(Back, OutDir + '/skinform.t2b.bin');
  finally
    Back.Free;
    Txt.Free;
    Bin.Free;
    Form.Free;
  end;
end.
